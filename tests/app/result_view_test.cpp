// Moving through a graded result: label columns, column scrolling, folding nested levels and the
// total, search both ways, bounds and an empty result, over a record set laid out as the summary
// report grades by two class levels.
#include <gtest/gtest.h>

#include "app/browse/result_view.h"

namespace app {
namespace {

void addColumn(lumo::Vector& header, const char* caption, const char* second, const char* type, const char* field) {
  auto c = lumo::newDictionary();
  c->SetValue("FColCaption", caption);
  c->SetValue("FHeadSecond", second);
  c->SetValue("FColType", type);
  c->SetValue("FColName", field);
  c->SetValue("FVisible", int16_t{1});
  header.Add(c);
}

// Two level-1 classes, the first with two level-2 classes; subtotals follow their groups.
struct Graded {
  lumo::VectorRef header = lumo::newVector();
  ado::RecordsetRef rs = ado::newRecordset();

  Graded() {
    addColumn(*header, "1级产品类别$", "", "1", "FName1");
    addColumn(*header, "2级产品类别$", "", "1", "FName2");
    addColumn(*header, "产品代码$", "", "1", "FItemNumber");
    addColumn(*header, "产品名称$", "", "1", "FItemName");
    addColumn(*header, "规格型号$", "", "1", "FModel");
    addColumn(*header, "生产任务数量+|", "数量(基本)", "2", "FBaseQty");
    addColumn(*header, "", "数量(常用)", "2", "FStockQty");
    addColumn(*header, "完工数量+|", "数量(基本)", "2", "FFinishQty");
    addColumn(*header, "", "数量(常用)", "2", "FFinishSQty");
    for (const char* f : {"FName1", "FName2", "FItemNumber", "FItemName", "FModel"}) rs->Append(f, ado::adVarChar, 255);
    for (const char* f : {"FBaseQty", "FStockQty", "FFinishQty", "FFinishSQty"}) rs->Append(f, ado::adDouble);
    rs->Append("FSumSort", ado::adSmallInt);
    rs->Open();
    row("成品", "电机", "01.01.0001", "小电机", 10, 0);     // 0
    row("成品", "电机", "01.01.0002", "大电机", 20, 0);     // 1
    row("成品", "电机(小计)", "", "", 30, 108);             // 2
    row("成品", "泵", "01.02.0001", "水泵", 5, 0);          // 3
    row("成品", "泵(小计)", "", "", 5, 108);                // 4
    row("成品(小计)", "", "", "", 35, 107);                 // 5
    row("半成品", "轴", "02.01.0001", "Spindle Axis", 7, 0); // 6
    row("半成品", "轴(小计)", "", "", 7, 108);              // 7
    row("半成品(小计)", "", "", "", 7, 107);                // 8
    row("合计", "", "", "", 42, 101);                       // 9
  }

  void row(const char* l1, const char* l2, const char* number, const char* name, double qty, int16_t kind) {
    rs->AddNew();
    rs->SetValue("FName1", l1);
    rs->SetValue("FName2", l2);
    rs->SetValue("FItemNumber", number);
    rs->SetValue("FItemName", name);
    rs->SetValue("FModel", "M");
    rs->SetValue("FBaseQty", qty);
    rs->SetValue("FStockQty", qty);
    rs->SetValue("FFinishQty", qty / 2);
    rs->SetValue("FFinishSQty", qty / 2);
    rs->SetValue("FSumSort", kind);
  }
};

std::vector<size_t> visibleRows(const ResultView& view) {
  std::vector<size_t> rows;
  for (size_t i = 0; i < view.visibleCount(); ++i) rows.push_back(view.rowAt(i));
  return rows;
}

TEST(ResultView, LabelColumnsStayAndTheRestScrollsUpToTheLastColumn) {
  Graded g;
  const TableModel model(g.header.get(), g.rs, nullptr, nullptr);
  ResultView view(model);
  // Class levels, product code and name; the model column is the first to scroll.
  EXPECT_EQ(view.labelColumns(), 4u);
  EXPECT_EQ(view.firstColumn(), 4u);

  const size_t labelCells = view.widths()[0] + view.widths()[1] + view.widths()[2] + view.widths()[3] + 3 * 3;
  std::vector<size_t> shown = view.shownColumns(labelCells + 3 + view.widths()[4] + 3 + view.widths()[5], 3);
  EXPECT_EQ(shown, (std::vector<size_t>{0, 1, 2, 3, 4, 5}));

  view.scrollColumns(3);
  shown = view.shownColumns(labelCells + 3 + view.widths()[7], 3);
  EXPECT_EQ(shown, (std::vector<size_t>{0, 1, 2, 3, 7}));
  view.scrollColumns(100);
  EXPECT_EQ(view.firstColumn(), 8u);
  // Too narrow for any scrolling column: still one is shown beside the labels.
  EXPECT_EQ(view.shownColumns(1, 3), (std::vector<size_t>{0, 1, 2, 3, 8}));
  view.scrollColumns(-100);
  EXPECT_EQ(view.firstColumn(), 4u);

  // A report that declares its frozen columns keeps exactly those.
  auto property = lumo::newDictionary();
  property->SetValue("FrozenColumn", int16_t{2});
  const TableModel declared(g.header.get(), g.rs, nullptr, property.get());
  EXPECT_EQ(ResultView(declared).labelColumns(), 2u);
}

TEST(ResultView, SubtotalsFoldTheirGroupsAndLevelsFoldAllAtOnce) {
  Graded g;
  const TableModel model(g.header.get(), g.rs, nullptr, nullptr);
  ResultView view(model);
  EXPECT_EQ(view.levels(), 2u);  // level 1 and level 2 subtotals; the total is none
  EXPECT_FALSE(view.closesGroup(0));
  EXPECT_TRUE(view.closesGroup(2));
  EXPECT_EQ(view.visibleCount(), 10u);

  // A detail row folds nothing. (Folding one group and level 1 at a terminal: tmux_grid_test.)
  view.moveTo(1);
  EXPECT_FALSE(view.toggleFold());
  // Level 1 from inside a group: the cursor moves to the row standing for its own.
  view.moveTo(3);
  view.foldToLevel(1);
  EXPECT_EQ(view.cursorRow(), 5u);
  // Level 2: every level-2 subtotal, with the level-1 ones between them.
  view.foldToLevel(2);
  EXPECT_EQ(visibleRows(view), (std::vector<size_t>{2, 4, 5, 7, 8, 9}));
  // The total folds on its own, not by level.
  view.moveTo(5);
  ASSERT_TRUE(view.toggleFold());
  EXPECT_EQ(visibleRows(view), (std::vector<size_t>{9}));
  EXPECT_EQ(view.cursorRow(), 9u);
  view.foldToLevel(0);
  EXPECT_EQ(view.visibleCount(), 10u);
  EXPECT_EQ(view.cursorRow(), 9u);

  // Going back to a row hidden in a folded group unfolds just the groups around it.
  view.foldToLevel(1);
  view.moveToRow(3);
  EXPECT_EQ(view.cursorRow(), 3u);
  EXPECT_EQ(visibleRows(view), (std::vector<size_t>{0, 1, 2, 3, 4, 5, 8, 9}));
}

TEST(ResultView, SearchFindsCellsWithoutCaseWrapsAndOpensFoldedGroups) {
  Graded g;
  const TableModel model(g.header.get(), g.rs, nullptr, nullptr);
  ResultView view(model);
  view.foldToLevel(1);
  ASSERT_TRUE(view.search("spindle"));
  EXPECT_EQ(view.cursorRow(), 6u);
  EXPECT_EQ(view.rowAt(view.cursor()), 6u);
  EXPECT_FALSE(view.folded(9));
  EXPECT_FALSE(view.folded(8));

  // "电机" is in rows 0, 1 and 2; the search wraps around from row 6 and goes backwards too.
  ASSERT_TRUE(view.search("电机"));
  EXPECT_EQ(view.cursorRow(), 0u);
  ASSERT_TRUE(view.searchAgain(true));
  EXPECT_EQ(view.cursorRow(), 1u);
  ASSERT_TRUE(view.searchAgain(false));
  EXPECT_EQ(view.cursorRow(), 0u);
  ASSERT_TRUE(view.searchAgain(false));
  EXPECT_EQ(view.cursorRow(), 2u);
  // Numbers are searched as shown.
  ASSERT_TRUE(view.search("42"));
  EXPECT_EQ(view.cursorRow(), 9u);
  EXPECT_FALSE(view.search("不存在"));
  EXPECT_EQ(view.cursorRow(), 9u);
}

TEST(ResultView, CursorAndTopStayWithinTheRowsAndEmptyResultsAreSafe) {
  Graded g;
  const TableModel model(g.header.get(), g.rs, nullptr, nullptr);
  ResultView view(model);
  view.moveTo(1000);
  EXPECT_EQ(view.cursorRow(), 9u);
  EXPECT_EQ(view.top(4), 6u);  // the last row on the last line of the body
  view.moveTo(-3);
  EXPECT_EQ(view.top(4), 0u);
  view.moveTo(5);
  EXPECT_EQ(view.top(4), 2u);
  EXPECT_EQ(view.top(40), 0u);

  Graded none;
  ado::RecordsetRef empty = ado::newRecordset();
  empty->Append("FItemNumber", ado::adVarChar, 255);
  empty->Open();
  const TableModel nothing(none.header.get(), empty, nullptr, nullptr);
  ResultView blank(nothing);
  EXPECT_EQ(blank.visibleCount(), 0u);
  blank.moveBy(3);
  EXPECT_FALSE(blank.toggleFold());
  EXPECT_FALSE(blank.search("x"));
  blank.foldToLevel(1);
  EXPECT_EQ(blank.levels(), 0u);
  EXPECT_EQ(blank.top(10), 0u);
}

}  // namespace
}  // namespace app
