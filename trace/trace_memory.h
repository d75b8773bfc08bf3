// How a program that traces pictures keeps its memory: tracing makes dozens
// of canvas-sized temporaries, and glibc by default maps each large one
// afresh and returns freed memory at the heap's top, so every trace pays a
// page fault per 4 KiB to zero memory it had just given back (a quarter of a
// camera picture's trace; most of a window import on a virtual machine).
#pragma once

namespace fudeline {

// Keeps freed memory in the heap for the next temporaries instead of
// returning it (up to 512 MiB). Process-wide: call once, at start, in a
// program that traces; harmless where the C library is not glibc.
void KeepFreedMemoryForTracing();

}  // namespace fudeline
