// The chart beside each report, as data: what a picture of the result shows and which columns
// it reads. The page draws what chartData hands it with the charting library.
//
//   {"title": "...", "charts": [{"title": "...", "stacked": false, "labels": ["..."],
//                                "series": [{"name": "...", "data": [1.5, ...]}]}]}
#pragma once

#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/catalog.h"
#include "app/table/table_model.h"

namespace app::web {

enum class ChartKind {
  Rows,         // one bar group per row: the coarsest subtotals when there are any, else detail rows
  SumBy,        // detail rows summed per label
  CountBy,      // detail rows counted per label
  DaysOverdue,  // detail rows counted per span of days since a date column
};

struct ChartPart {
  std::string_view title;
  ChartKind kind;
  std::string_view label;               // the field giving a bar's label (a date field for DaysOverdue)
  std::vector<std::string_view> series;  // fields summed (Rows, SumBy)
  bool stacked = false;
};

struct ChartSpec {
  std::string_view title;
  std::vector<ChartPart> parts;
};

// The chart of a report; null for one without.
const ChartSpec* chartOf(const ReportInfo& info);
// The chart's data from a result; `today` ("YYYY-MM-DD") dates DaysOverdue.
nlohmann::json chartData(const ChartSpec& spec, const TableModel& model, std::string_view today);

}  // namespace app::web
