// The record set of the cost detail report: its fields, the copy of one period's cost rows
// with their decimal places, and the period subtotal and grand total rows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "frame/report/report.h"
#include "platform/ado/recordset.h"

namespace cost::rpt498 {

struct Column {
  const char* caption;
  const char* second;
  const char* type;
  const char* name;
};

// The sixteen columns of the Header vector, in order.
std::span<const Column> Columns();

// A new, open record set with the report's nineteen fields; the eight amount fields get the
// currency scale `amountScale`.
ado::RecordsetRef NewReportRecordset(uint8_t amountScale);

// Quantity and the seven cost elements, and the total cost.
struct Sums {
  std::array<double, 8> values{};  // FInNum, then the seven elements
  double totalCost = 0;
  void add(const Sums& other);
};

// Looks up the decimal places of a product code: (number, quantity places, price places).
using DecimalLookup = std::function<void(const plat::Variant&, int32_t&, int32_t&)>;

// Copies the rows of `source` from its current position to its end into `target` as detail
// rows of period `label`, and returns their sums. `qtyDecimal`/`priceDecimal` carry the last
// product's decimal places across rows and periods. `afterRow(n)` is told the rows copied so far.
Sums CopyPeriodRows(ado::Recordset& source, ado::Recordset& target, const std::string& label,
                    const DecimalLookup& lookupDecimals, int32_t& qtyDecimal, int32_t& priceDecimal,
                    const std::function<void(int32_t)>& afterRow);

// Adds a subtotal ("小计", 107) or grand total ("合计", 101) row for `sums`; the price is the
// total cost over the quantity, 0 for a quantity of 0.
void AddTotalRow(ado::Recordset& target, const std::string& caption, const char* sumSort, const Sums& sums);

}  // namespace cost::rpt498
