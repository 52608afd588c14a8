// The result as JSON: what `tavshoprpt run --format json` prints and the web API hands out.
//
//   {"name": "...", "titles": ["..."], "frozenColumns": 2,
//    "columns": [{"field": "FNumber", "caption": "...", "type": 1, "numeric": false}],
//    "header": [{"first": 0, "count": 1, "caption": "...", "bothRows": true}],
//    "rowCount": 120, "first": 0,
//    "rows": [{"row": 1, "kind": "detail", "sumSort": 0, "detail": true,
//              "cells": ["01.02.0003", "12.50"], "numbers": [null, 12.5]},
//             {"row": 7, "kind": "subtotal", "groupStart": 1, ...}]}
//
// "row" and "groupStart" are 1-based, as `run --drill` counts; "groupStart" is the first row of
// the group a subtotal row closes.
#pragma once

#include <cstddef>
#include <limits>
#include <ostream>

#include <nlohmann/json.hpp>

#include "app/table/table_model.h"

namespace app {

// Rows first .. first+count-1 (fewer at the end) with everything above them.
nlohmann::json tableJson(const TableModel& model, size_t first = 0,
                         size_t count = std::numeric_limits<size_t>::max());
// The whole table, as one line of JSON followed by a line end.
void writeJson(const TableModel& model, std::ostream& out);

}  // namespace app
