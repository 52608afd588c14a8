// The table model and the text grid over a hand-built header and record set (the exports check
// the spans of a real report).
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "app/export/exporters.h"
#include "app/render/grid_text.h"
#include "app/table/table_model.h"

namespace app {
namespace {

void addColumn(lumo::Vector& header, const char* caption, const char* second, const char* type, const char* field,
               int16_t visible = 1, int16_t forceHide = 0) {
  auto c = lumo::newDictionary();
  c->SetValue("FColCaption", caption);
  c->SetValue("FHeadSecond", second);
  c->SetValue("FColType", type);
  c->SetValue("FColName", field);
  c->SetValue("FVisible", visible);
  c->SetValue("FForceHide", forceHide);
  header.Add(c);
}

struct Small {
  lumo::VectorRef header = lumo::newVector();
  ado::RecordsetRef rs = ado::newRecordset();
  lumo::DictionaryRef property = lumo::newDictionary();
  lumo::VectorRef title = lumo::newVector();

  Small() {
    addColumn(*header, "产品代码$", "", "1", "FNumber");
    addColumn(*header, "隐藏$", "", "1", "FHidden", 0);
    addColumn(*header, "数量+|+|", "单位", "1", "FUnit");
    addColumn(*header, "", "数量", "2", "FQty");
    addColumn(*header, "", "强制隐藏", "2", "FForced", 1, 1);
    addColumn(*header, "单价$", "", "4", "FPrice");
    addColumn(*header, "金额$", "", "6", "FAmount");
    addColumn(*header, "完工率$", "", "8", "FRate");
    for (const char* f : {"FNumber", "FHidden", "FUnit", "FRate", "FSumSort"}) rs->Append(f, ado::adVarChar, 255);
    for (const char* f : {"FQty", "FForced", "FPrice"}) rs->Append(f, ado::adDouble);
    rs->Append("FAmount", ado::adDecimal, 18);
    rs->SetNumericScale("FAmount", 18, 2);
    rs->Append("FQtyDecimal", ado::adInteger);
    rs->Open();
    row("01.001", "件", 12.5, 3.456, 1234.5, "50%", "0", 3);
    row("01.002", "箱", 7, 10, 70, "100%", "0", std::nullopt);
    row("合计", "", 19.5, std::nullopt, 1304.5, "", "101", 4);
    property->SetValue("Name", "测试报表");
    property->SetValue("FrozenColumn", int16_t{3});  // 产品代码, the hidden column and 单位
    for (int i : {2, 0, 1}) {
      auto line = lumo::newDictionary();
      line->SetValue("FCaption", "第" + std::to_string(i) + "行");
      line->SetValue("FIndex", int16_t(i));
      title->Add(line);
    }
    auto empty = lumo::newDictionary();
    empty->SetValue("FIndex", int16_t{5});
    title->Add(empty);
  }

  void row(const char* number, const char* unit, double qty, std::optional<double> price, double amount,
           const char* rate, const char* kind, std::optional<int> qtyDecimals) {
    rs->AddNew();
    rs->SetValue("FNumber", number);
    rs->SetValue("FUnit", unit);
    rs->SetValue("FQty", qty);
    if (price) rs->SetValue("FPrice", *price);
    rs->SetValue("FAmount", amount);
    rs->SetValue("FRate", rate);
    rs->SetValue("FSumSort", kind);
    if (qtyDecimals) rs->SetValue("FQtyDecimal", int32_t(*qtyDecimals));
  }

  TableModel model() const { return TableModel(header.get(), rs, title.get(), property.get()); }
};

// Captions, spans, hidden columns, title order, places and row kinds show in the grid text below;
// here what the text does not show.
TEST(TableModel, FrozenColumnsDetailRowsAndUnroundedNumbers) {
  Small s;
  TableModel m = s.model();
  EXPECT_EQ(m.frozenColumns(), 2u) << "the declared three less the hidden one";
  EXPECT_EQ(m.rowKind(2), RowKind::Total);
  EXPECT_FALSE(m.hasDetail(2));
  EXPECT_EQ(m.cell(1, 2).decimals, 4) << "the most its rows' FQtyDecimal ask for (the total's 4)";
  EXPECT_DOUBLE_EQ(*m.cell(0, 3).number, 3.456) << "shown rounded, kept whole";
}

// Quantities whose item shows no places but whose value has some (a common unit of 4 base units)
// are not cut: the column widens to the places its values have, so the shown rows add up to the
// shown total, in the grid and in CSV alike.
TEST(TableModel, ShownQuantitiesAddUpToTheirTotal) {
  Small s;
  s.rs = ado::newRecordset();
  for (const char* f : {"FNumber", "FUnit", "FRate", "FSumSort"}) s.rs->Append(f, ado::adVarChar, 255);
  for (const char* f : {"FQty", "FPrice"}) s.rs->Append(f, ado::adDouble);
  s.rs->Append("FAmount", ado::adDouble);
  s.rs->Append("FQtyDecimal", ado::adInteger);
  s.rs->Open();
  s.row("01.001", "箱", 114.25, 1, 0.1, "", "0", 0);
  s.row("01.002", "箱", 0.1 + 0.2, 1, 0.2, "", "0", 0);
  s.row("合计", "", 114.55, std::nullopt, 0.3, "", "101", std::nullopt);
  const TableModel m = s.model();
  EXPECT_EQ(m.text(0, 2), "114.25");
  EXPECT_EQ(m.text(1, 2), "0.30");
  EXPECT_EQ(m.text(2, 2), "114.55");
  EXPECT_EQ(m.text(1, 4), "0.20");  // amounts: the currency scale
  std::ostringstream csv;
  writeCsv(m, csv);
  EXPECT_NE(csv.str().find("01.002,箱,0.30,1.00,0.20,"), std::string::npos) << csv.str();
  EXPECT_EQ(csv.str().find("0.30000000000000004"), std::string::npos) << csv.str();
}

// FVisible 0 and FForceHide 1 leave the table; the 数量 group keeps two of its three columns;
// price shows two places rounded, amount its field's scale, quantities the most places asked.
TEST(GridText, TwoRowHeaderWithSpansAndTotalsSetApart) {
  Small s;
  std::ostringstream out;
  renderGrid(s.model(), out, GridOptions{0, true, false});
  EXPECT_EQ(out.str(),
            "测试报表\n第0行\n第1行\n第2行\n\n"
            "# | 产品代码 |      数量      | 单价  | 金额    | 完工率\n"
            "  |          | 单位 | 数量    |       |         |\n"
            "--+----------+------+---------+-------+---------+-------\n"
            "1 | 01.001   | 件   | 12.5000 |  3.46 | 1234.50 | 50%\n"
            "2 | 01.002   | 箱   |  7.0000 | 10.00 |   70.00 | 100%\n"
            "--+----------+------+---------+-------+---------+-------\n"
            "3 | 合计     |      | 19.5000 |       | 1304.50 |\n"
            "(3 rows)\n");
}

TEST(GridText, PagesRepeatFrozenColumns) {
  // Widths 4,4 frozen (4 + 3 + 4 = 11 cells); then 10, 10, 10 in 30 cells.
  EXPECT_EQ(pageColumns({4, 4, 10, 10, 10}, 2, 11, 30), (std::vector<std::vector<size_t>>{{2}, {3}, {4}}));
  EXPECT_EQ(pageColumns({4, 4, 10, 10, 10}, 2, 11, 40), (std::vector<std::vector<size_t>>{{2, 3}, {4}}));
  EXPECT_EQ(pageColumns({4, 4, 10, 10, 10}, 2, 11, 0), (std::vector<std::vector<size_t>>{{2, 3, 4}}));
  Small s;
  std::ostringstream out;
  renderGrid(s.model(), out, GridOptions{30, false, false});
  const std::string text = out.str();
  EXPECT_NE(text.find("[1/4] columns 3-3 of 6"), std::string::npos) << text;
  EXPECT_NE(text.find("[4/4] columns 6-6 of 6"), std::string::npos) << text;
  size_t frozenShown = 0;
  for (size_t at = text.find("01.002"); at != std::string::npos; at = text.find("01.002", at + 1)) ++frozenShown;
  EXPECT_EQ(frozenShown, 4u);  // the frozen code column on every page
}

}  // namespace
}  // namespace app
