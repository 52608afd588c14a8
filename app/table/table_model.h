// The one table every renderer and exporter reads: the report's visible columns, its two-row
// header spans, frozen leading columns, title lines, row kinds and formatted cells, built from
// Header, Rs, Title and Property as the report hands them over.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ado/recordset.h"
#include "platform/lumo/dictionary.h"
#include "platform/lumo/vector.h"

namespace frame {
class Report;
}

namespace app {

// "FColType" codes.
enum ColumnType : int {
  kColDate = 0,
  kColText = 1,
  kColQuantity = 2,
  kColPrice = 4,
  kColAmount = 6,
  kColPlanDate = 7,
  kColRateText = 8,
};

enum class RowKind { Detail, Subtotal, Total };

struct TableColumn {
  std::string field;    // "FColName"
  std::string caption;  // the column's own caption: a stand-alone caption, or its second-row caption
  int type = kColText;  // "FColType"
  long fieldIndex = -1; // position in Rs; -1 when the record set lacks the field
  bool numeric() const { return type == kColQuantity || type == kColPrice || type == kColAmount; }
};

// One cell of the header's top row over visible columns [first, first + count).
struct HeaderSpan {
  size_t first = 0;
  size_t count = 1;
  std::string caption;
  bool bothRows = false;  // a stand-alone column: its caption fills both header rows
};

struct Cell {
  std::string text;             // as shown; every exporter writes this text (XLSX: the number with `decimals`)
  std::optional<double> number; // the value of a numeric cell that holds one
  int decimals = 0;             // decimal places of `text` when numeric: the same for the whole column
};

// Decimal places used where a row does not give its own.
struct NumberStyle {
  int quantityDecimals = 2;  // the unit's places, where neither the row nor its item gives its own
  int priceDecimals = 2;
  int amountScale = 2;       // the currency scale, unless the amount field carries its own scale
};

// The most places a value of the data service has (its decimal columns are decimal(p,10)).
inline constexpr int kMostDecimals = 10;

// An item's (quantity, price) decimal places by item number; nothing for an unknown item.
using ItemDecimals = std::function<std::optional<std::pair<int, int>>(const std::string& itemNumber)>;

class TableModel {
 public:
  // REQUIRES: `rs` is open (it may be empty). Header, title and property may be null.
  TableModel(const lumo::Vector* header, ado::RecordsetRef rs, const lumo::Vector* title,
             const lumo::Dictionary* property, NumberStyle style = {}, ItemDecimals itemDecimals = {});
  // The containers of a report whose "OK" is true.
  static TableModel of(const frame::Report& report, NumberStyle style = {}, ItemDecimals itemDecimals = {});

  const std::string& name() const { return name_; }
  const std::vector<std::string>& titleLines() const { return titles_; }
  const std::vector<TableColumn>& columns() const { return columns_; }
  const std::vector<HeaderSpan>& spans() const { return spans_; }
  // Leading visible columns kept on screen ("FrozenColumn" counted over the report's columns).
  size_t frozenColumns() const { return frozen_; }

  size_t rowCount() const;
  RowKind rowKind(size_t row) const;
  // False for total and subtotal rows ("FSumSort" above 0), from which there is no drill-down.
  bool hasDetail(size_t row) const;
  // The row's "FSumSort" as a number (0 when absent): 101 the grand total, other codes above 100
  // subtotals, the finer the larger.
  double kindCode(size_t row) const { return sumSort(row); }
  Cell cell(size_t row, size_t column) const;
  std::string text(size_t row, size_t column) const { return cell(row, column).text; }

 private:
  void readColumns(const lumo::Vector& header);
  double sumSort(size_t row) const;
  // The row's own "FQtyDecimal" and "FPriceDecimal", when it has them.
  std::pair<std::optional<int>, std::optional<int>> rowDecimals(size_t row) const;
  std::optional<std::pair<int, int>> itemDecimalsOf(size_t row) const;
  // The places of one row's value in a column: its own, else its item's, else the style's.
  int ownDecimals(size_t row, const TableColumn& column) const;
  int columnDecimals(size_t column) const;

  ado::RecordsetRef rs_;
  NumberStyle style_;
  ItemDecimals itemDecimals_;
  std::string name_;
  std::vector<std::string> titles_;
  std::vector<TableColumn> columns_;
  std::vector<HeaderSpan> spans_;
  size_t frozen_ = 0;
  long sumSortField_ = -1, qtyDecimalField_ = -1, priceDecimalField_ = -1, itemNumberField_ = -1;
  mutable std::map<std::string, std::optional<std::pair<int, int>>, std::less<>> itemCache_;
  mutable std::vector<std::optional<int>> columnDecimals_;
};

// A number with `decimals` places, without thousands separators and without "-0".
std::string formatNumber(double value, int decimals);
// The fewest decimal places (at most `most`) that show `value` without loss; `most` when none do.
int decimalsNeeded(double value, int most);

}  // namespace app
