#include "cost/rpt499/comprehensive_rows.h"

#include <array>

namespace cost::rpt499 {
namespace {

// The fields copied from the service's rows, in the order of the report's first fields.
constexpr std::array<const char*, 15> kCopied = {
    "FNumber",     "FName",        "FModel",      "FBatchNo",      "FUnit",
    "FPeriodStartNum", "FPeriodStartCost", "FCurInNum", "FCurInCost", "FCurOutNum",
    "FCurOutPrice", "FCurOutCost", "FPeriodEndNum", "FPeriodEndPrice", "FPeriodEndCost"};
// Positions of the report's own fields after the copied ones.
constexpr size_t kCurPeriod = kCopied.size();
constexpr size_t kSumSort = kCurPeriod + 1;
constexpr size_t kQtyDecimal = kSumSort + 1;
constexpr size_t kPriceDecimal = kQtyDecimal + 1;

size_t requireField(const ado::Recordset& rs, const std::string& name) {
  const long index = rs.FieldIndex(name);
  if (index < 0)
    throw plat::Error(3265, "ADODB.Recordset",
                      "Item cannot be found in the collection corresponding to the requested name or ordinal: " + name);
  return static_cast<size_t>(index);
}

// A value joined with the empty text and stored: Null becomes "" (Null again in a number
// field), numbers keep their value.
void copyValue(const ado::Recordset& source, size_t from, size_t sourceField, ado::Recordset& target, size_t to,
               size_t targetField) {
  if (source.IsNullAt(from, sourceField)) {
    target.SetValueAt(to, targetField, plat::Variant(""));
    return;
  }
  const bool sourceNumber = source.FieldAt(sourceField).storage() == ado::Storage::Number;
  if (target.FieldAt(targetField).storage() == ado::Storage::Text) {
    if (sourceNumber)
      target.SetText(to, targetField, plat::numberText(source.NumberAt(from, sourceField)));
    else
      target.SetText(to, targetField, source.ValueAt(from, sourceField).text());
  } else if (sourceNumber) {
    target.SetNumber(to, targetField, source.NumberAt(from, sourceField));
  } else {
    target.SetValueAt(to, targetField, plat::Variant(source.ValueAt(from, sourceField).text()));
  }
}

std::string textAt(const ado::Recordset& rs, size_t row, size_t field) {
  if (rs.IsNullAt(row, field)) return {};
  if (rs.FieldAt(field).storage() == ado::Storage::Text) return std::string(rs.TextAt(row, field));
  return rs.ValueAt(row, field).text();
}

}  // namespace

std::vector<Column> Columns(const Levels& levels) {
  std::vector<Column> columns{{"期间$", "", "1", "FCurPeriod"}};
  if (levels.shown) {
    for (int32_t n = levels.first; n <= levels.last; ++n)
      columns.push_back({std::to_string(n) + "级产品类别$", "", "1", "FName" + std::to_string(n)});
  }
  const Column rest[] = {
      {"产品代码$", "", "1", "FNumber"},
      {"名称$", "", "1", "FName"},
      {"规格型号$", "", "1", "FModel"},
      {"生产批号$", "", "1", "FBatchNo"},
      {"单位$", "", "1", "FUnit"},
      {"期初在产品+|", "数量", "2", "FPeriodStartNum"},
      {"", "金额", "6", "FPeriodStartCost"},
      {"本期投入+|", "数量", "2", "FCurInNum"},
      {"", "金额", "6", "FCurInCost"},
      {"本期产出+|+|", "数量", "2", "FCurOutNum"},
      {"", "成本价", "4", "FCurOutPrice"},
      {"", "金额", "6", "FCurOutCost"},
      {"期末在产品+|+|", "数量", "2", "FPeriodEndNum"},
      {"", "成本价", "4", "FPeriodEndPrice"},
      {"", "金额", "6", "FPeriodEndCost"},
  };
  columns.insert(columns.end(), std::begin(rest), std::end(rest));
  return columns;
}

ado::RecordsetRef NewReportRecordset(int32_t scale, const Levels& levels) {
  auto rs = ado::newRecordset();
  auto text = [&](const std::string& name) { rs->Append(name, ado::adVarChar, 355, -1); };
  auto decimal = [&](const char* name, int precision, int numericScale) {
    rs->Append(name, ado::adDecimal, precision, -1);
    rs->SetNumericScale(name, precision, numericScale);
  };
  for (const char* name : {"FNumber", "FName", "FModel", "FBatchNo", "FUnit"}) text(name);
  for (const char* name : {"FPeriodStartNum", "FPeriodStartCost", "FCurInNum"}) decimal(name, 23, 10);
  decimal("FCurInCost", 18, scale);
  decimal("FCurOutNum", 23, 10);
  decimal("FCurOutPrice", 23, 10);
  decimal("FCurOutCost", 18, scale);
  decimal("FPeriodEndNum", 23, 10);
  decimal("FPeriodEndPrice", 23, 10);
  decimal("FPeriodEndCost", 18, scale);
  text("FCurPeriod");
  text("FSumSort");
  rs->Append("FQtyDecimal", ado::adInteger, 0, -1);
  rs->Append("FPriceDecimal", ado::adInteger, 0, -1);
  if (levels.shown) {
    for (int32_t n = levels.first; n <= levels.last; ++n) text("FName" + std::to_string(n));
  }
  rs->Open();
  return rs;
}

void CopyPeriodRows(ado::Recordset& source, ado::Recordset& target, const std::string& label, const Levels& levels,
                    const DecimalLookup& lookupDecimals, int32_t& qtyDecimal, int32_t& priceDecimal,
                    const std::function<void(int32_t)>& afterRow) {
  if (source.Eof()) return;
  std::array<size_t, kCopied.size()> copied{};
  for (size_t i = 0; i < kCopied.size(); ++i) copied[i] = requireField(source, kCopied[i]);
  const size_t sumSort = requireField(source, "FSumSort");
  std::vector<std::pair<size_t, size_t>> levelFields;  // source, target
  int32_t count = 0;
  while (!source.Eof()) {
    const size_t from = source.CurrentRow();
    target.AddNew();
    const size_t to = static_cast<size_t>(target.RecordCount() - 1);
    target.SetText(to, kCurPeriod, label);
    if (levels.copied) {
      // Looked up at the first row: a run without level fields fails here, as it must.
      if (levelFields.empty()) {
        for (int32_t n = levels.first; n <= levels.last; ++n) {
          const std::string name = "FName" + std::to_string(n);
          levelFields.emplace_back(requireField(source, name), requireField(target, name));
        }
      }
      for (const auto& [in, out] : levelFields) target.SetText(to, out, textAt(source, from, in));
    }
    if (!textAt(source, from, copied[0]).empty())
      lookupDecimals(source.ValueAt(from, copied[0]), qtyDecimal, priceDecimal);
    for (size_t i = 0; i < kCopied.size(); ++i) copyValue(source, from, copied[i], target, to, i);
    copyValue(source, from, sumSort, target, to, kSumSort);

    const bool detail = !source.IsNullAt(from, sumSort) && source.ValueAt(from, sumSort).toDouble() == 0;
    target.SetNumber(to, kQtyDecimal, detail ? qtyDecimal : 4);
    target.SetNumber(to, kPriceDecimal, detail ? priceDecimal : 4);
    source.MoveNext();
    afterRow(++count);
  }
}

}  // namespace cost::rpt499
