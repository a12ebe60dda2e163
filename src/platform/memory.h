// How the process's heap takes memory from the system.
#pragma once

namespace platform {

// Keeps the heap's pages once touched and asks for them in huge pages where the
// system offers them. The game's start-up decodes pictures into buffers of a megabyte
// or more, frees them and decodes again; left to itself the allocator maps each one
// afresh and returns it after, so every 4 KiB page of every buffer costs a page fault,
// which on a virtual machine is the larger part of start-up. Call first in main, once.
void tune_heap();

}  // namespace platform
