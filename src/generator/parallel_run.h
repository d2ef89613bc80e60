#pragma once

#include <functional>

namespace vistello {

// Runs work(0) to work(count - 1) on `threads` threads while the calling thread reports: after
// each item, and now and then while items run, progress(done) is called on the calling thread,
// and once it answers false no further item starts. Items under way are finished. Returns how
// many items were done; work must not throw.
int RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                  const std::function<bool(int done)>& progress);

// One thread per core.
int CoreCount();

}  // namespace vistello
