// Building the table model from a report's containers, and formatting its cells.
#include "app/table/table_model.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/table/caption_format.h"
#include "frame/report/report.h"

namespace app {
namespace {

bool isVisible(const lumo::Dictionary& column) {
  const plat::Variant visible = column.Value("FVisible");
  if (!visible.isEmpty() && !visible.isNull() && plat::val(visible.text()) == 0) return false;
  const plat::Variant forceHide = column.Value("FForceHide");
  return forceHide.isEmpty() || forceHide.isNull() || plat::val(forceHide.text()) == 0;
}

// The numeric value of a cell; nothing for Null, Empty or a text that is no number.
std::optional<double> numberOf(const plat::Variant& v) {
  if (v.isNumber()) return v.toDouble();
  if (v.isText() && v.isNumeric()) return v.toDouble();
  return std::nullopt;
}

// Item-number fields (long form) whose value names the row's item for its decimal places.
constexpr std::string_view kItemNumberFields[] = {"FNumber", "FItemNumber", "FPNumber"};

}  // namespace

std::string formatNumber(double value, int decimals) {
  decimals = std::clamp(decimals, 0, kMostDecimals);
  // Exports format every numeric cell: to_chars writes straight into a buffer.
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text = error == std::errc() ? std::string(buffer, end) : fmt::format("{:.{}f}", value, decimals);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

TableModel TableModel::of(const frame::Report& report, NumberStyle style, ItemDecimals itemDecimals) {
  return TableModel(report.Header().get(), report.Rs(), report.Title().get(), report.Property().get(), style,
                    std::move(itemDecimals));
}

TableModel::TableModel(const lumo::Vector* header, ado::RecordsetRef rs, const lumo::Vector* title,
                       const lumo::Dictionary* property, NumberStyle style, ItemDecimals itemDecimals)
    : rs_(std::move(rs)), style_(style), itemDecimals_(std::move(itemDecimals)) {
  if (!rs_) rs_ = ado::newRecordset();
  if (!rs_->IsOpen()) rs_->Open();
  if (property) name_ = property->Value("Name").text();

  if (title) {
    std::vector<std::pair<double, std::string>> lines;
    for (const auto& item : *title) {
      auto line = item.tryAs<lumo::Dictionary>();
      if (!line) continue;
      std::string caption = line->Value("FCaption").text();
      if (!caption.empty()) lines.emplace_back(plat::val(line->Value("FIndex").text()), std::move(caption));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& line : lines) titles_.push_back(std::move(line.second));
  }

  sumSortField_ = rs_->FieldIndex("FSumSort");
  qtyDecimalField_ = rs_->FieldIndex("FQtyDecimal");
  priceDecimalField_ = rs_->FieldIndex("FPriceDecimal");
  if (header) readColumns(*header);

  size_t frozenDeclared = 0;
  if (property) {
    const plat::Variant frozen = property->Value("FrozenColumn");
    if (!frozen.isEmpty() && !frozen.isNull()) frozenDeclared = static_cast<size_t>(std::max(0.0, plat::val(frozen.text())));
  }
  if (header) {
    // Counted over the report's own columns: hidden ones among them are not on screen.
    size_t position = 0;
    for (const auto& item : *header) {
      if (position++ >= frozenDeclared) break;
      if (auto column = item.tryAs<lumo::Dictionary>(); column && isVisible(*column)) ++frozen_;
    }
  }
  frozen_ = std::min(frozen_, columns_.size());
}

void TableModel::readColumns(const lumo::Vector& header) {
  std::vector<HeaderColumn> all;
  std::vector<TableColumn> described;
  for (const auto& item : header) {
    auto column = item.tryAs<lumo::Dictionary>();
    if (!column) continue;
    all.push_back({column->Value("FColCaption").text(), column->Value("FHeadSecond").text(), isVisible(*column)});
    TableColumn c;
    c.field = column->Value("FColName").text();
    c.type = static_cast<int>(plat::val(column->Value("FColType").text()));
    c.fieldIndex = rs_->FieldIndex(c.field);
    described.push_back(std::move(c));
  }
  const std::vector<ColumnPlace> places = placeColumns(all);
  size_t lastGroup = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (!all[i].visible) continue;
    const ColumnPlace& place = places[i];
    TableColumn column = described[i];
    column.caption = place.standalone ? place.top : place.bottom;
    const size_t position = columns_.size();
    if (!spans_.empty() && !place.standalone && place.group == lastGroup) {
      ++spans_.back().count;
    } else {
      spans_.push_back(HeaderSpan{position, 1, place.top, place.standalone});
    }
    lastGroup = place.group;
    if (itemNumberField_ < 0 && column.fieldIndex >= 0)
      for (std::string_view f : kItemNumberFields)
        if (lumo::foldCase(column.field) == lumo::foldCase(f)) itemNumberField_ = column.fieldIndex;
    columns_.push_back(std::move(column));
  }
}

size_t TableModel::rowCount() const { return static_cast<size_t>(rs_->RecordCount()); }

double TableModel::sumSort(size_t row) const {
  if (sumSortField_ < 0) return 0;
  return numberOf(rs_->ValueAt(row, static_cast<size_t>(sumSortField_))).value_or(0);
}

RowKind TableModel::rowKind(size_t row) const {
  const double kind = sumSort(row);
  if (kind == 101) return RowKind::Total;
  return kind > 100 ? RowKind::Subtotal : RowKind::Detail;
}

bool TableModel::hasDetail(size_t row) const { return sumSort(row) <= 0; }

std::pair<std::optional<int>, std::optional<int>> TableModel::rowDecimals(size_t row) const {
  std::optional<int> qty, price;
  if (qtyDecimalField_ >= 0) {
    if (auto v = numberOf(rs_->ValueAt(row, static_cast<size_t>(qtyDecimalField_)))) qty = static_cast<int>(*v);
  }
  if (priceDecimalField_ >= 0) {
    if (auto v = numberOf(rs_->ValueAt(row, static_cast<size_t>(priceDecimalField_)))) price = static_cast<int>(*v);
  }
  return {qty, price};
}

std::optional<std::pair<int, int>> TableModel::itemDecimalsOf(size_t row) const {
  if (!itemDecimals_ || itemNumberField_ < 0 || rowKind(row) != RowKind::Detail) return std::nullopt;
  const std::string number = rs_->ValueAt(row, static_cast<size_t>(itemNumberField_)).text();
  if (number.empty()) return std::nullopt;
  auto it = itemCache_.find(number);
  if (it == itemCache_.end()) it = itemCache_.emplace(number, itemDecimals_(number)).first;
  return it->second;
}

namespace {

// Whether `value` shows no more than `places` decimals at fifteen significant digits, decided
// without formatting where it is clear: value * 10^places lies on an integer within the error of
// the double and the multiplication. Unclear cases say no, and the caller formats.
bool clearlyWithin(double value, int places) {
  static constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
  if (places < 0 || places > kMostDecimals) return false;
  const double scaled = value * kScale[places];
  if (!(std::fabs(scaled) < 9e15)) return false;
  return std::fabs(scaled - std::nearbyint(scaled)) <= std::fabs(scaled) * 4e-16;
}

}  // namespace

int decimalsNeeded(double value, int most) {
  // Fifteen significant digits, which every double holds faithfully, give the decimal it stands
  // for: 0.1 + 0.2 needs one place, not seventeen.
  const std::string text = fmt::format("{:.15g}", value);
  if (text.find_first_of("eE") != std::string::npos) return std::max(0, most);
  const size_t point = text.find('.');
  const int places = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
  return std::min(places, std::max(0, most));
}

int TableModel::ownDecimals(size_t row, const TableColumn& c) const {
  if (c.type == kColAmount) {
    const int scale = rs_->FieldAt(static_cast<size_t>(c.fieldIndex)).numericScale;
    return scale >= 0 && scale <= 6 ? scale : style_.amountScale;
  }
  const auto [qty, price] = rowDecimals(row);
  if (const std::optional<int> own = c.type == kColQuantity ? qty : price) return *own;
  if (const auto item = itemDecimalsOf(row)) return c.type == kColQuantity ? item->first : item->second;
  return c.type == kColQuantity ? style_.quantityDecimals : style_.priceDecimals;
}

// One count of places per column, so that a column never mixes 7176.4 with 17498.80: the most
// any of its rows asks for. Quantities and amounts, which subtotals add up, are widened to the
// places their values have (at most the data's own), so that no digit is hidden and the shown
// details add up to the shown subtotals; prices are shown at their rows' places.
int TableModel::columnDecimals(size_t column) const {
  if (columnDecimals_.size() != columns_.size()) columnDecimals_.assign(columns_.size(), std::nullopt);
  std::optional<int>& cached = columnDecimals_[column];
  if (cached) return *cached;
  const TableColumn& c = columns_[column];
  const size_t field = static_cast<size_t>(c.fieldIndex);
  int decimals = 0;
  for (size_t row = 0; row < rowCount(); ++row) {
    const std::optional<double> number = numberOf(rs_->ValueAt(row, field));
    if (!number) continue;
    decimals = std::max(decimals, ownDecimals(row, c));
    if (c.type != kColPrice && decimals < kMostDecimals && !clearlyWithin(*number, decimals))
      decimals = std::max(decimals, decimalsNeeded(*number, kMostDecimals));
  }
  cached = std::clamp(decimals, 0, kMostDecimals);
  return *cached;
}

Cell TableModel::cell(size_t row, size_t column) const {
  const TableColumn& c = columns_.at(column);
  if (c.fieldIndex < 0) return {};
  const size_t field = static_cast<size_t>(c.fieldIndex);
  const plat::Variant value = rs_->ValueAt(row, field);
  if (!c.numeric()) return Cell{value.text(), std::nullopt, 0};
  const std::optional<double> number = numberOf(value);
  if (!number) return Cell{value.text(), std::nullopt, 0};
  const int decimals = columnDecimals(column);
  return Cell{formatNumber(*number, decimals), number, decimals};
}

}  // namespace app
