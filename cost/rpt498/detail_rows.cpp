#include "cost/rpt498/detail_rows.h"

namespace cost::rpt498 {
namespace {

// Fields of the report record set, in order; the positions below index them.
enum Field : size_t {
  kCurPeriod, kNumber, kName, kModel, kBatchNo, kUnit, kInNum, kPrice,
  kFirstElement,  // the seven cost elements follow
  kTotalFee = kFirstElement + 7,
  kSumSort,
  kQtyDecimal,
  kPriceDecimal,
};

constexpr const char* kTexts[] = {"FNumber", "FName", "FModel", "FBatchNo", "FUnit"};
constexpr const char* kElements[] = {"FMarterialFee", "FAuxMarterialFee", "FWorkFee",  "FMakingFee",
                                     "FDepreciationFee", "FWaterElecFee", "FOtherFee"};

size_t requireField(const ado::Recordset& rs, const char* name) {
  const long index = rs.FieldIndex(name);
  if (index < 0)
    throw plat::Error(3265, "ADODB.Recordset",
                      std::string("Item cannot be found in the collection corresponding to the requested name or "
                                  "ordinal: ") +
                          name);
  return static_cast<size_t>(index);
}

// NullToDefault(value, 0) of a source field, as a number.
double numberAt(const ado::Recordset& rs, size_t row, size_t field) {
  if (rs.IsNullAt(row, field)) return 0;
  if (rs.FieldAt(field).storage() == ado::Storage::Number) return rs.NumberAt(row, field);
  return rs.ValueAt(row, field).toDouble();
}

// The text of a source field; Null gives "".
std::string textAt(const ado::Recordset& rs, size_t row, size_t field) {
  if (rs.IsNullAt(row, field)) return {};
  if (rs.FieldAt(field).storage() == ado::Storage::Text) return std::string(rs.TextAt(row, field));
  return rs.ValueAt(row, field).text();
}

// Source field positions of the fields the copy reads.
struct SourceFields {
  std::array<size_t, 5> texts;
  size_t inNum, price, totalFee, sumSort;
  std::array<size_t, 7> elements;

  explicit SourceFields(const ado::Recordset& rs) {
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = requireField(rs, kTexts[i]);
    inNum = requireField(rs, "FInNum");
    price = requireField(rs, "FPrice");
    for (size_t i = 0; i < elements.size(); ++i) elements[i] = requireField(rs, kElements[i]);
    totalFee = requireField(rs, "FTotalFee");
    sumSort = requireField(rs, "FSumSort");
  }
};

}  // namespace

std::span<const Column> Columns() {
  static constexpr Column kColumns[] = {
      {"会计期间$", "", "1", "FCurPeriod"},
      {"产品代码$", "", "1", "FNumber"},
      {"名称$", "", "1", "FName"},
      {"规格型号$", "", "1", "FModel"},
      {"生产批号$", "", "1", "FBatchNo"},
      {"单位$", "", "1", "FUnit"},
      {"产出数量$", "", "2", "FInNum"},
      {"成本价$", "", "4", "FPrice"},
      {"金额+|+|+|+|+|+|+|", "直接材料", "6", "FMarterialFee"},
      {"", "辅助材料", "6", "FAuxMarterialFee"},
      {"", "直接人工", "6", "FWorkFee"},
      {"", "制造费", "6", "FMakingFee"},
      {"", "折旧费", "6", "FDepreciationFee"},
      {"", "水电费", "6", "FWaterElecFee"},
      {"", "其它费用", "6", "FOtherFee"},
      {"", "总成本", "6", "FTotalFee"},
  };
  return kColumns;
}

ado::RecordsetRef NewReportRecordset(uint8_t amountScale) {
  auto rs = ado::newRecordset();
  auto text = [&](const char* name) { rs->Append(name, ado::adVarChar, 355, -1); };
  auto decimal = [&](const char* name, int precision, int scale) {
    rs->Append(name, ado::adDecimal, precision, -1);
    rs->SetNumericScale(name, precision, scale);
  };
  text("FCurPeriod");
  for (const char* name : kTexts) text(name);
  decimal("FInNum", 23, 10);
  decimal("FPrice", 23, 10);
  for (const char* name : kElements) decimal(name, 18, amountScale);
  decimal("FTotalFee", 18, amountScale);
  text("FSumSort");
  rs->Append("FQtyDecimal", ado::adInteger, 0, -1);
  rs->Append("FPriceDecimal", ado::adInteger, 0, -1);
  rs->Open();
  return rs;
}

void Sums::add(const Sums& other) {
  for (size_t i = 0; i < values.size(); ++i) values[i] += other.values[i];
  totalCost += other.totalCost;
}

Sums CopyPeriodRows(ado::Recordset& source, ado::Recordset& target, const std::string& label,
                    const DecimalLookup& lookupDecimals, int32_t& qtyDecimal, int32_t& priceDecimal,
                    const std::function<void(int32_t)>& afterRow) {
  Sums sums;
  if (source.Eof()) return sums;
  const SourceFields in(source);
  int32_t copied = 0;
  while (!source.Eof()) {
    const size_t from = source.CurrentRow();
    target.AddNew();
    const size_t to = static_cast<size_t>(target.RecordCount() - 1);
    target.SetText(to, kCurPeriod, label);
    for (size_t i = 0; i < in.texts.size(); ++i) target.SetText(to, kNumber + i, textAt(source, from, in.texts[i]));

    Sums row;
    row.values[0] = numberAt(source, from, in.inNum);
    target.SetNumber(to, kInNum, row.values[0]);
    target.SetNumber(to, kPrice, numberAt(source, from, in.price));
    for (size_t e = 0; e < in.elements.size(); ++e) {
      row.values[e + 1] = numberAt(source, from, in.elements[e]);
      target.SetNumber(to, kFirstElement + e, row.values[e + 1]);
    }
    row.totalCost = numberAt(source, from, in.totalFee);
    target.SetNumber(to, kTotalFee, row.totalCost);

    const double sumSort = numberAt(source, from, in.sumSort);
    const bool textSort = !source.IsNullAt(from, in.sumSort) && source.FieldAt(in.sumSort).storage() == ado::Storage::Text;
    target.SetText(to, kSumSort, textSort ? textAt(source, from, in.sumSort) : plat::numberText(sumSort));

    // The decimal places of a row without a product code are those of the last product.
    if (!source.IsNullAt(from, in.texts[0]) && !textAt(source, from, in.texts[0]).empty())
      lookupDecimals(source.ValueAt(from, in.texts[0]), qtyDecimal, priceDecimal);
    if (sumSort == 0) {
      target.SetNumber(to, kQtyDecimal, qtyDecimal);
      target.SetNumber(to, kPriceDecimal, priceDecimal);
    }
    sums.add(row);
    source.MoveNext();
    afterRow(++copied);
  }
  return sums;
}

void AddTotalRow(ado::Recordset& target, const std::string& caption, const char* sumSort, const Sums& sums) {
  target.AddNew();
  const size_t to = static_cast<size_t>(target.RecordCount() - 1);
  for (size_t f = kCurPeriod; f <= kUnit; ++f) target.SetText(to, f, "");
  target.SetText(to, kNumber, caption);
  const double quantity = sums.values[0];
  target.SetNumber(to, kInNum, quantity);
  target.SetNumber(to, kPrice, quantity == 0 ? 0 : sums.totalCost / quantity);
  for (size_t e = 0; e < 7; ++e) target.SetNumber(to, kFirstElement + e, sums.values[e + 1]);
  target.SetNumber(to, kTotalFee, sums.totalCost);
  target.SetText(to, kSumSort, sumSort);
  target.SetNumber(to, kQtyDecimal, 4);
  target.SetNumber(to, kPriceDecimal, 4);
}

}  // namespace cost::rpt498
