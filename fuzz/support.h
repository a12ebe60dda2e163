// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a private scratch folder per process, writing an input
// to a file there, a clean desktop and message queue before each input, and the hard
// stop for a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

// A folder of this process's own under the system's temporary folder, made on the
// first call and removed when the process exits normally; ends with a slash.
const std::string& scratch_folder();

// Writes the bytes to path, replacing any file there; stops the process on failure.
void write_input(const std::string& path, const std::uint8_t* data, std::size_t size);

// Drops the message boxes the recording desktop has collected, empties the message
// queue and forgets the fatal errors shown, so those of one input do not pile up over
// the next ones or keep the next input's first one from its box.
void clear_desktop();

// Reports a broken invariant and aborts, which the fuzzer and the replay count as a crash.
[[noreturn]] void fail(const char* what);

}  // namespace fuzz
