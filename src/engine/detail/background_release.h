#pragma once

#include <functional>

namespace engine::detail {

// Runs `drop` on a worker thread, for letting go of large structures (a closed
// workbook's cells) without keeping the caller waiting: freeing a sheet of tens of
// thousands of cells takes as long as a good part of building it. Tasks run one at
// a time in the order given; whatever is still queued when the program ends runs
// before it ends. The task must own everything it touches.
void releaseInBackground(std::function<void()> drop);

// Waits until every task given so far has run.
void waitForBackgroundReleases();

}  // namespace engine::detail
