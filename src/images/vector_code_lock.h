#pragma once

#include <mutex>

namespace vistello {

// The image library shrinks images with code it generates at run time. The generator keeps that
// code in one list of chunks shared by every thread: it holds its own lock while it looks for a
// free chunk, but not while it splits the chunk it found, nor while it frees one and merges it
// with its neighbours. The image library compiles under a lock of its own, yet frees an image's
// code on whichever thread lets the image go, so two threads letting images go, or one letting go
// while another compiles, tear the list apart. This module takes the two calls the image library
// makes, compile and free, before the generator's own, and runs them under one lock.

// Held while the image library compiles or frees generated code.
std::mutex& VectorCodeLock();

// Whether the image library's frees of generated code come through VectorCodeLock(): where they do
// not (a build that hides this module's calls), the generator must not run on several threads.
bool VectorCodeLocked();

}  // namespace vistello
