// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the process's heap takes memory from the system, at start-up and after.
#pragma once

namespace platform {

// Keeps the heap's pages once touched and asks for them in huge pages where the
// system offers them. The game's start-up decodes pictures into buffers of a megabyte
// or more, frees them and decodes again; left to itself the allocator maps each one
// afresh and returns it after, so every 4 KiB page of every buffer costs a page fault,
// which on a virtual machine is the larger part of start-up. Every thread allocates
// from that one heap. Call first in main, before any thread starts, once.
void tune_heap();

// Once start-up has loaded what it loads: blocks of a megabyte and more are mapped on
// their own again and returned when freed, and the pages start-up left free go back
// to the system, so the game at rest holds only what it uses.
void settle_heap();

}  // namespace platform
