// The record set of the comprehensive cost report: its columns and fields, with or without
// the product-class levels, and the copy of one period's rows from the data service.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/report/report.h"
#include "platform/ado/recordset.h"

namespace cost::rpt499 {

// The product-class levels shown, when the report rolls up over them.
struct Levels {
  bool shown = false;  // level columns and fields exist ("GroupBy" 1, "SumMode" 1)
  bool copied = false; // level names are copied ("GroupBy" 1, "SumMode" 1 or 2)
  int32_t first = 0;
  int32_t last = -1;
};

struct Column {
  std::string caption, second, type, name;
};

// The report's columns in order: "期间$", the level columns, then the product and cost columns.
std::vector<Column> Columns(const Levels& levels);

// A new, open record set with the report's fields; the three cost amounts get the currency
// scale `scale`, the level fields come last.
ado::RecordsetRef NewReportRecordset(int32_t scale, const Levels& levels);

// Looks up the decimal places of a product code: (number, quantity places, price places).
using DecimalLookup = std::function<void(const plat::Variant&, int32_t&, int32_t&)>;

// Copies the rows of `source` from its current position to its end into `target`, tagged
// with the period `label`. Detail rows (FSumSort 0) get the decimal places of the last product
// looked up (`qtyDecimal`/`priceDecimal`, kept across rows), total rows 4 and 4. `afterRow(n)`
// is told the rows copied so far.
void CopyPeriodRows(ado::Recordset& source, ado::Recordset& target, const std::string& label, const Levels& levels,
                    const DecimalLookup& lookupDecimals, int32_t& qtyDecimal, int32_t& priceDecimal,
                    const std::function<void(int32_t)>& afterRow);

}  // namespace cost::rpt499
