// Why a report came back without detail rows: which of its ranges (dates, codes, bill numbers)
// left nothing. Each range the filter narrows is widened on its own, the report is run again,
// and the first range whose widening brings rows back is the one that emptied the result.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "app/catalog.h"
#include "platform/lumo/dictionary.h"

namespace app {

struct EmptyCause {
  enum class Kind {
    OneRange,      // `from`..`to` of `begin`/`end` emptied it; `rowsWithout` rows without it
    RangesTogether,  // no single range, but widening every range brings rows back
    OtherKeys,     // even with every range wide there is nothing: the other keys (states...)
  };
  Kind kind = Kind::OtherKeys;
  std::string begin, end;  // the range's keys ("BDate", "EDate")
  std::string from, to;    // their values in the filter
  size_t rowsWithout = 0;
};

// Detail rows the report gives for `filter`.
using RowCounter = std::function<size_t(const lumo::DictionaryRef& filter)>;

// REQUIRES: `filter` is the filter of a run of `report` that gave no detail rows. Runs the report
// again through `count` once per range the filter narrows, and once more at most.
EmptyCause findEmptyCause(const ReportInfo& report, const lumo::Dictionary& filter, const RowCounter& count);

// The cause for the grid ("日期 2026-12-06 至 2026-12-06 内没有数据；不限这个范围有 1234 行。")
// and for the command line (English).
std::string describeCause(const EmptyCause& cause);
std::string describeCauseForCli(const EmptyCause& cause);

}  // namespace app
