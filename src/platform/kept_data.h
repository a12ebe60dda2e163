// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What is decoded from the data folder, kept for the rest of the process where nothing
// changes those files while it runs (a fuzz target playing game after game over one
// folder): the pictures and the music lengths are then decoded once. Off unless asked.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace platform {

// Switches keeping on or off; either way, what was kept before is dropped.
void keep_decoded_data(bool keep);
bool decoded_data_kept();
// Changes at every switch, so each holder knows when to drop what it holds.
std::uint64_t kept_data_generation();

// Values made from the data folder's files, by what they were made from.
template <class Key, class Value>
class KeptBy {
  public:
    // The value kept for key; null while keeping is off or nothing is kept for it.
    const Value* find(const Key& key) {
        if (!decoded_data_kept()) return nullptr;
        catch_up();
        const auto it = values_.find(key);
        return it == values_.end() ? nullptr : &it->second;
    }
    // Keeps value for key while keeping is on; does nothing otherwise.
    void keep(const Key& key, Value value) {
        if (!decoded_data_kept()) return;
        catch_up();
        values_[key] = std::move(value);
    }

  private:
    void catch_up() {
        if (generation_ == kept_data_generation()) return;
        values_.clear();
        generation_ = kept_data_generation();
    }

    std::map<Key, Value> values_;
    std::uint64_t generation_ = 0;
};

// Values decoded from files, by the native path they were read from.
template <class Value>
using KeptByPath = KeptBy<std::string, Value>;

}  // namespace platform
