// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The board rules under load: the open-pair count on a freshly dealt full board, which
// runs after every removal and in every title update, and one whole stage played by
// always taking the hint pair.
#include <benchmark/benchmark.h>

#include "base/random.h"
#include "board/board.h"
#include "board/open_pairs.h"
#include "board/selection.h"
#include "board/stage.h"

namespace {

void BM_CountOpenPairsFullBoard(benchmark::State& state) {
    rules::reset_rules_state();
    seed_random(12345);
    rules::deal_stage_board();
    const rules::Board dealt = rules::rules_state().board;
    std::int32_t pairs = 0;
    for (auto _ : state) {
        rules::HintPair hint;
        pairs = rules::count_open_pairs(dealt, hint);
        benchmark::DoNotOptimize(pairs);
        benchmark::DoNotOptimize(hint);
    }
    state.counters["open_pairs"] = pairs;
}
BENCHMARK(BM_CountOpenPairsFullBoard)->Unit(benchmark::kMicrosecond);

// One stage from the deal to the last removal: clicks, finishing steps with the mode's
// shift, and reshuffles.
void BM_AutoplayedStage(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    rules::reset_rules_state();
    seed_random(777);
    for (auto _ : state) {
        rules::rules_state().board_mode = mode;
        rules::deal_stage_board();
        while (rules::rules_state().tiles_left > 0 && rules::count_open_pairs() > 0) {
            const rules::HintPair pair = rules::rules_state().hint_pair;
            rules::click_cell(pair.first.column, pair.first.row);
            rules::click_cell(pair.second.column, pair.second.row);
            rules::finish_removal(true);
            rules::reshuffle_board(true);
        }
    }
    rules::reset_rules_state();
}
BENCHMARK(BM_AutoplayedStage)->Arg(1)->Arg(2)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace
