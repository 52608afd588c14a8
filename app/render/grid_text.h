// The report as a text grid for a terminal or a text file: the name and title lines, the
// two-row header with its spans, row numbers, totals set apart, and horizontal pages that repeat
// the frozen leading columns when the grid is wider than the screen.
#pragma once

#include <cstddef>
#include <ostream>
#include <vector>

#include "app/table/table_model.h"

namespace app {

struct GridOptions {
  size_t width = 0;        // cells available per line; 0: no limit, one page
  bool rowNumbers = true;  // a leading "#" column with 1-based row numbers (what --drill takes)
  bool ansi = false;       // bold total rows with terminal escapes instead of a rule above them
};

// Column widths in cells: each column's caption and cells, widened so group captions fit.
std::vector<size_t> columnWidths(const TableModel& model);

// Splits the scrolling columns (those after `frozen`) into pages whose lines, with the frozen
// columns repeated on each, fit `width` cells. Each page lists its scrolling column positions;
// a column wider than a page gets a page of its own.
std::vector<std::vector<size_t>> pageColumns(const std::vector<size_t>& widths, size_t frozen, size_t frozenCells,
                                             size_t width);

void renderGrid(const TableModel& model, std::ostream& out, const GridOptions& options);

}  // namespace app
