#pragma once

#include <functional>

namespace vistello {

struct ParallelRun {
    // Items 0 to done - 1 were run, whole.
    int done = 0;
    // progress answered false.
    bool stopped = false;
};

// Runs work(0) to work(count - 1) on up to `threads` threads while the calling thread reports:
// after each item, and now and then while items run, progress(done) is called on the calling
// thread, and once it answers false no further item starts. Items under way are finished. With
// no items, nothing runs and nothing is reported. work must not throw.
ParallelRun RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                          const std::function<bool(int done)>& progress);

// One thread per core.
int CoreCount();

}  // namespace vistello
