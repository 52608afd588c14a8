// Making the rows on a second thread while the calling thread writes them.
#pragma once

#include <functional>

#include "midtier/generator/generator.h"
#include "midtier/generator/row_writer.h"

namespace gen {

using ProgressFn = std::function<void(const Progress&)>;
using MakeRows = std::function<void(BulkLoader& loader, const ProgressFn& progress)>;

// Runs `make` on a thread of its own with a loader that hands its rows over in batches to the
// calling thread, which writes them into `target`, each table's rows in the order they were
// made and several at a time (every call on `target` and its writers happens on the calling
// thread). A progress report that `make` gives reaches `progress` (when set) on the calling
// thread once the rows made before it are written.
// Only a few batches are ever in flight, so the maker runs at most that far ahead. A failure on
// either side stops both; it is rethrown here after the second thread has ended.
void loadInBackground(BulkLoader& target, const MakeRows& make, const ProgressFn& progress);

}  // namespace gen
