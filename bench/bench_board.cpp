// The board rules under load: the open-pair count on a freshly dealt full board, which
// runs after every removal and in every title update, and one whole stage played by
// always taking the hint pair.
#include <benchmark/benchmark.h>

#include "base/random.h"
#include "board/board.h"
#include "board/open_pairs.h"
#include "board/selection.h"
#include "board/stage.h"
#include "platform/window.h"

namespace {

void BM_CountOpenPairsFullBoard(benchmark::State& state) {
    rules::reset_board_state();
    seed_random(12345);
    rules::deal_stage_board();
    const rules::Board dealt = rules::board;
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

// One stage from the deal to the last removal: clicks, removal paths drawn, finishing
// steps with the mode's shift, reshuffles and title updates.
void BM_AutoplayedStage(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    rules::reset_board_state();
    rules::cell_width = 36;
    rules::cell_height = 48;
    platform::Window window;
    window.resize(648, 528);
    seed_random(777);
    for (auto _ : state) {
        rules::board_mode = mode;
        rules::deal_stage_board();
        while (rules::tiles_left > 0 && rules::count_open_pairs() > 0) {
            const rules::HintPair pair = rules::hint_pair;
            rules::click_cell(window, pair.first.column, pair.first.row);
            rules::click_cell(window, pair.second.column, pair.second.row);
            rules::finish_removal(window, true);
        }
    }
    rules::reset_board_state();
}
BENCHMARK(BM_AutoplayedStage)->Arg(1)->Arg(2)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace
