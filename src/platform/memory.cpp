// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// tune_heap, settle_heap: glibc's allocator settings and a huge-page hint on the heap's
// reserve.
#include "platform/memory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace platform {

namespace {
constexpr std::size_t megabyte = std::size_t{1} << 20;
constexpr std::uintptr_t huge_page = 2 * megabyte;
// Beyond anything the game allocates at once (the largest picture is 8192 x 8192
// pixels, 256 MiB, and is refused well before): every block comes from the heap.
constexpr int from_heap_up_to = 512 * megabyte;
// How far the heap grows past a request: one step reserves room for the pictures.
constexpr int heap_step = 64 * megabyte;
// After start-up: glibc's own starting figures for the top pad, and blocks from a
// megabyte up mapped on their own (music files and the like, read once).
constexpr int usual_top_pad = 128 * 1024;
constexpr int mapped_from = static_cast<int>(megabyte);
}  // namespace

void tune_heap() {
    mallopt(M_MMAP_THRESHOLD, from_heap_up_to);
    mallopt(M_TRIM_THRESHOLD, from_heap_up_to);
    mallopt(M_TOP_PAD, heap_step);
    // One arena for every thread: the pictures that load on a thread of their own then
    // come from this heap too, not from an arena of that thread's, unmarked, where every
    // page of every picture was a fault of its own.
    mallopt(M_ARENA_MAX, 1);
    // One allocation past what is left of the heap grows it by a whole step; that
    // stretch, not yet touched, is marked for huge pages.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* probe = std::malloc(megabyte);
    // Touched, so that the compiler keeps the allocation.
    if (probe != nullptr) *static_cast<volatile char*>(probe) = 0;
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t start = (before + huge_page - 1) & ~(huge_page - 1);
    if (after > start + huge_page)
        madvise(reinterpret_cast<void*>(start), (after - start) & ~(huge_page - 1), MADV_HUGEPAGE);
    std::free(probe);
}

void settle_heap() {
    mallopt(M_MMAP_THRESHOLD, mapped_from);
    mallopt(M_TRIM_THRESHOLD, 2 * mapped_from);
    mallopt(M_TOP_PAD, usual_top_pad);
    malloc_trim(0);
}

}  // namespace platform
