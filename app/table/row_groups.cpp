// Finding the group each subtotal row closes.
#include "app/table/row_groups.h"

namespace app {

std::vector<std::optional<size_t>> groupStarts(const TableModel& model) {
  const size_t rows = model.rowCount();
  std::vector<double> codes(rows);
  for (size_t row = 0; row < rows; ++row) codes[row] = model.kindCode(row);
  std::vector<std::optional<size_t>> starts(rows);
  for (size_t row = 0; row < rows; ++row) {
    if (model.rowKind(row) != RowKind::Subtotal) continue;
    size_t first = row;
    while (first > 0 && (codes[first - 1] <= 0 || codes[first - 1] > codes[row])) --first;
    if (first < row) starts[row] = first;
  }
  return starts;
}

}  // namespace app
