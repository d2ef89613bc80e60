#pragma once

#include <functional>
#include <string>

namespace vistello {

struct ParallelRun {
    // Items 0 to done - 1 were run, whole.
    int done = 0;
    // progress answered false, or something failed.
    bool stopped = false;
    // What went wrong when work or progress threw; empty otherwise.
    std::string failure;
};

// Called on each worker thread as it ends, so that a library can let go of what it keeps per
// thread.
using ThreadEnd = std::function<void()>;

// Runs work(0) to work(count - 1) on up to `threads` threads while the calling thread reports:
// after each item, and now and then while items run, progress(done) is called on the calling
// thread, and once it answers false no further item starts. Items under way are finished. With
// no items, nothing runs and nothing is reported; with no threads (or none to be had from the
// system), the calling thread runs the items itself, reporting after each. When work or progress
// throws, no further item starts, the items under way are finished, every thread is joined and the
// run ends stopped with the failure's text; nothing is thrown.
ParallelRun RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                          const std::function<bool(int done)>& progress,
                          const ThreadEnd& threadEnd = {});

// One thread per core.
int CoreCount();

}  // namespace vistello
