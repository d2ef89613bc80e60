#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vistello {

struct ParallelRun {
    // How many items were run, whole; which ones, `finished` says, since on several threads a
    // later item may end while an earlier one fails or is still under way.
    int done = 0;
    std::vector<bool> finished;
    // progress answered false, or something failed.
    bool stopped = false;
    // What went wrong when work or progress threw; empty otherwise.
    std::string failure;

    bool Finished(int item) const {
        return item >= 0 && static_cast<size_t>(item) < finished.size() &&
               finished[static_cast<size_t>(item)];
    }
};

// Called on the picture thread that ran an item, after the item, so that a library can let go of
// what it keeps per thread: the thread may serve another part of the program next.
using ThreadEnd = std::function<void()>;

// Runs work(0) to work(count - 1) on up to `threads` of the program's picture threads (see
// ProgramPool) while the calling thread reports: after each item, and now and then while items
// run, progress(done) is called on the calling thread, and once it answers false no further item
// starts. Items under way are finished. With no items, nothing runs and nothing is reported; with
// no threads (or none to be had from the system, or when called on a picture thread), the calling
// thread runs the items itself, reporting after each. When work or progress throws, no further
// item starts, the items under way are finished and the run ends stopped with the failure's text;
// nothing is thrown. While a run is under way, no thumbnail starts on the picture threads.
ParallelRun RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                          const std::function<bool(int done)>& progress,
                          const ThreadEnd& threadEnd = {});

// One thread per core.
int CoreCount();

}  // namespace vistello
