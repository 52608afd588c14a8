// Which rows a subtotal row sums up, so that a viewer can fold them under it: the rows right above
// it that are detail rows or subtotals of finer groups (a larger "FSumSort").
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "app/table/table_model.h"

namespace app {

// One entry per row: for a subtotal row, the 0-based first row of the group it closes (nothing
// when no row above belongs to it); nothing for detail and total rows.
std::vector<std::optional<size_t>> groupStarts(const TableModel& model);

}  // namespace app
