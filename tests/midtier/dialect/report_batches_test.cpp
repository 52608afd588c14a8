// The summary (401) and cost (499) report batches, character for character, run on SQLite and
// compared with the rows SQL Server gives, computed independently in C++.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "midtier/dialect/dialect.h"
#include "midtier/dialect/report_batches.h"
#include "midtier/dialect/report_data.h"
#include "platform/core/error.h"

namespace dialect::testing {
namespace {

// The wanted columns of every returned row: the first textColumns as text, then amounts
// ("int:" marks an amount SQLite holds as an integer), FSumSort last as an integer.
std::vector<std::string> runReport(TestDb& db, const std::string& batch, const std::vector<std::string>& wanted,
                                   std::size_t textColumns) {
  std::vector<int> index;
  std::vector<std::string> rows;
  auto onColumns = [&](sqlite3_stmt* stmt) {
    index.assign(wanted.size(), -1);
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      for (std::size_t w = 0; w < wanted.size(); ++w) {
        if (wanted[w] == sqlite3_column_name(stmt, i)) index[w] = i;
      }
    }
    for (std::size_t w = 0; w < wanted.size(); ++w) EXPECT_GE(index[w], 0) << "no column " << wanted[w];
  };
  auto onRow = [&](sqlite3_stmt* stmt) {
    std::string row;
    for (std::size_t w = 0; w < wanted.size(); ++w) {
      int i = std::max(index[w], 0);
      std::string cell = cellText(stmt, i);
      bool isAmount = w >= textColumns && w + 1 < wanted.size();
      if (isAmount && sqlite3_column_type(stmt, i) != SQLITE_NULL) {
        char text[64];
        std::snprintf(text, sizeof text, "%.6f", sqlite3_column_double(stmt, i));
        cell = (sqlite3_column_type(stmt, i) == SQLITE_FLOAT ? "" : "int:") + std::string(text);
      }
      row += (w ? " | " : "") + cell;
    }
    rows.push_back(row);
  };
  try {
    execute(db.handle(), batch, onColumns, onRow);
  } catch (const plat::Error& e) {
    ADD_FAILURE() << e.description();
  }
  return rows;
}

std::vector<std::string> sorted(std::vector<std::string> rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::size_t textColumns401(const Options401& o) { return resultColumns401(o).size() - 5; }
std::size_t textColumns499(const Options499& o) { return resultColumns499(o).size() - 11; }

std::string describe(const Options401& o) {
  const char* kind[] = {"plain", "department", "class-level"};
  return std::string("401 ") + kind[static_cast<int>(o.grouping)] + " GroupByBatchNo=" +
         std::to_string(o.groupByBatchNo) + " OnlyShowSum=" + std::to_string(o.onlyShowSum) + " levels " +
         std::to_string(o.beginLevel) + "-" + std::to_string(o.endLevel) + " items '" + o.beginItem + "'..'" +
         o.endItem + "'" + (o.dataRightWhere.empty() ? "" : " with data right");
}

TEST(ReportBatches, Summary401EveryVariantGivesSqlServersRows) {
  const ReportData data = generateReportData();
  std::vector<Options401> variants;
  for (int batch : {0, 1}) {
    for (int only : {0, 1}) {
      variants.push_back({Grouping401::Plain, batch, only, 1, 5, "", "", ""});
      variants.push_back({Grouping401::Department, batch, only, 1, 5, "", "", ""});
      for (auto [b, e] : {std::pair{1, 1}, std::pair{1, 3}, std::pair{2, 4}}) {
        variants.push_back({Grouping401::ClassLevel, batch, only, b, e, "", "", ""});
      }
    }
  }
  // Product ranges and the data-right clause.
  variants.push_back({Grouping401::Plain, 0, 0, 1, 5, "01.01.001", "02.01.001", " CharIndex('12',t1.FRightUserID)>0 "});
  variants.push_back({Grouping401::Department, 0, 0, 1, 5, "", "01.02.001", " CharIndex('12',t1.FRightUserID)>0 "});
  variants.push_back({Grouping401::ClassLevel, 0, 0, 1, 3, "01.01.01.002", "", " CharIndex('12',t1.FRightUserID)>0 "});

  for (const Options401& o : variants) {
    SCOPED_TRACE(describe(o));
    TestDb db;
    load(db, data);
    std::vector<std::string> actual = runReport(db, batch401(o), resultColumns401(o), textColumns401(o));
    std::vector<std::string> expected = expected401(data, o);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(sorted(actual), sorted(expected));
    if (o.grouping == Grouping401::Plain) {
      EXPECT_EQ(actual, sorted(actual)) << "ORDER BY FSumSort, FItemNumber";
    }
    // Every work table is gone afterwards.
    EXPECT_EQ(db.query("SELECT name FROM sqlite_temp_master WHERE name NOT LIKE '#T4%'").size(), 0u);
  }
}

TEST(ReportBatches, Summary401ClassLevelsCarryTheirCodesAndCaptions) {
  const ReportData data = generateReportData();
  TestDb db;
  load(db, data);
  Options401 o{Grouping401::ClassLevel, 0, 1, 1, 3, "", "", ""};
  std::vector<std::string> rows = runReport(db, batch401(o), {"FName1", "FName2", "FSumSort"}, 2);
  // Level-1 subtotals 107, level-2 108, level-3 109; the total (106) becomes 101 with "合计".
  EXPECT_NE(std::find(rows.begin(), rows.end(), "成品(小计) | NULL | 107"), rows.end());
  EXPECT_NE(std::find(rows.begin(), rows.end(), "成品 | 电机类(小计) | 108"), rows.end());
  EXPECT_NE(std::find(rows.begin(), rows.end(), "合计 | NULL | 101"), rows.end());
  for (const std::string& row : rows) EXPECT_EQ(row.find("| 106"), std::string::npos) << row;
}

std::string describe(const Options499& o) {
  return std::string("499 ") + (o.classLevel ? "class-level" : "plain") + " GroupByBatchNo=" +
         std::to_string(o.groupByBatchNo) + " OnlyShowSum=" + std::to_string(o.onlyShowSum) + " scale " +
         std::to_string(o.scale) + " levels " + std::to_string(o.beginLevel) + "-" + std::to_string(o.endLevel) +
         (o.separator ? "" : " joined without separator");
}

TEST(ReportBatches, Cost499EveryVariantGivesSqlServersRows) {
  const ReportData data = generateReportData();
  std::vector<Options499> variants;
  for (int batch : {0, 1}) {
    for (int only : {0, 1}) {
      for (int scale : {2, 4}) {
        variants.push_back({false, batch, only, scale, 1, 3, "", "", batch == 0});
        variants.push_back({true, batch, only, scale, 1, 3, "", "", true});
      }
      variants.push_back({true, batch, only, 2, 2, 4, "", "", true});
    }
  }
  variants.push_back({true, 0, 0, 2, 1, 3, "01.02.001", "03.001", false});

  for (const Options499& o : variants) {
    SCOPED_TRACE(describe(o));
    TestDb db;
    load(db, data);
    std::vector<std::string> actual = runReport(db, batch499(o), resultColumns499(o), textColumns499(o));
    std::vector<std::string> expected = expected499(data, o);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(sorted(actual), sorted(expected));
  }
}

// Joined with nothing between them, "WITH ROLLUP" runs into "Update": no statement can be read there.
TEST(ReportBatches, Cost499FragmentsNeedABreakAfterABareRollup) {
  Options499 o{true, 1, 0, 2, 1, 3, "", "", false};
  try {
    (void)translate(batch499(o));
    ADD_FAILURE() << "no error";
  } catch (const plat::Error& e) {
    EXPECT_NE(e.description().find("unsupported construct 'ROLLUPUpdate'"), std::string::npos) << e.description();
  }
}

}  // namespace
}  // namespace dialect::testing
