// CSV, XLSX and HTML exports of a real report.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "app/catalog.h"
#include "app/exit_codes.h"
#include "app/export/exporters.h"
#include "app/filter_values.h"
#include "app/session.h"
#include "cli_support.h"
#include "frame/report/report.h"
#include "platform/com/registry.h"
#include "support/demo_company.h"

namespace app {
namespace {

using apptest::TempDir;

std::shared_ptr<frame::Report> runSummary() {
  support::loginDemo();
  registerClasses();
  const ReportInfo& info = *findReport("Rpt401");
  auto report = plat::broker().CreateAs<frame::Report>(info.className());
  report->SetFilter(scriptFilter(info, parseSetPairs(info, {"GroupBy=1", "BLevel=1", "ELevel=2"}), {}));
  report->GetReportData();
  EXPECT_TRUE(report->Ok()) << report->ErrorText();
  return report;
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        rows.back().back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        rows.back().back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\r') {
    } else if (c == '\n') {
      rows.emplace_back(1);
    } else {
      rows.back().back() += c;
    }
  }
  if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
  return rows;
}

TEST(Export, CsvRoundTripGivesTheRecordSetValues) {
  auto report = runSummary();
  const TableModel model = TableModel::of(*report);
  std::ostringstream out;
  writeCsv(model, out);
  const std::string text = out.str();
  ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  const auto rows = parseCsv(text.substr(3));
  ASSERT_EQ(rows.size(), model.rowCount() + 1);
  EXPECT_EQ(rows[0][0], "1级产品类别");
  EXPECT_NE(std::find(rows[0].begin(), rows[0].end(), "生产任务数量/数量(基本)"), rows[0].end());
  const ado::Recordset& rs = *report->Rs();
  for (size_t r = 0; r < model.rowCount(); ++r) {
    ASSERT_EQ(rows[r + 1].size(), model.columns().size());
    for (size_t c = 0; c < model.columns().size(); ++c) {
      const plat::Variant v = rs.ValueAt(r, static_cast<size_t>(model.columns()[c].fieldIndex));
      if (model.columns()[c].numeric() && !v.isNull())
        EXPECT_DOUBLE_EQ(std::stod(rows[r + 1][c]), v.toDouble()) << "row " << r << " " << model.columns()[c].field;
      else
        EXPECT_EQ(rows[r + 1][c], v.text()) << "row " << r << " " << model.columns()[c].field;
    }
  }
}

// The header's groups are merged cells and the rows below it scroll under a frozen pane. A large
// result is streamed row by row: the same numbers in the same cells, the group captions still
// merged, the captions that span both header rows written as two cells.
TEST(Export, XlsxMergesTheHeaderGroupsAndStreamsTheSameCellsOnAsManySheetsAsNeeded) {
  TempDir dir("xlsx-streamed");
  auto report = runSummary();
  const TableModel model = TableModel::of(*report);
  const auto partOf = [&](const std::string& name, const std::string& part) {
    const auto xml = dir.path / (name + ".xml");
    const std::string command = "unzip -p '" + (dir.path / (name + ".xlsx")).string() + "' " + part + " > '" + xml.string() + "'";
    return std::system(command.c_str()) == 0 ? apptest::slurp(xml) : std::string();
  };
  const auto sheetOf = [&](const std::string& name, XlsxLimits limits) {
    writeXlsx(model, (dir.path / (name + ".xlsx")).string(), limits);
    return partOf(name, "xl/worksheets/sheet1.xml");
  };
  // Numeric cells (no type attribute): reference -> value.
  const auto numbers = [](const std::string& xml) {
    std::map<std::string, std::string> cells;
    const std::regex cell(R"re(<c r="([A-Z]+[0-9]+)"(?: s="[0-9]+")?><v>([^<]*)</v>)re");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), cell); it != std::sregex_iterator(); ++it)
      cells[(*it)[1]] = (*it)[2];
    return cells;
  };
  const auto merged = [](const std::string& xml) {
    std::vector<std::string> refs;
    const std::string open = "<mergeCell ref=\"";
    for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
      const size_t start = at + open.size();
      refs.push_back(xml.substr(start, xml.find('"', start) - start));
    }
    return refs;
  };
  const std::string whole = sheetOf("whole", {}), streamed = sheetOf("streamed", {.streamedCells = 0});
  EXPECT_EQ(whole.find("inlineStr"), std::string::npos);
  EXPECT_NE(streamed.find("inlineStr"), std::string::npos);
  const auto expected = numbers(whole);
  EXPECT_GT(expected.size(), model.rowCount());
  EXPECT_EQ(numbers(streamed), expected);
  // Name, four title lines (one per non-empty caption), a blank row: the header is on rows 7 and 8.
  const size_t top = 1 + model.titleLines().size() + 1 + 1;
  const std::string t = std::to_string(top), b = std::to_string(top + 1);
  // 1级/2级产品类别, 产品代码, 产品名称, 规格型号, 生产批号 stand alone; three groups of four.
  const std::vector<std::string> groups = {"G" + t + ":J" + t, "K" + t + ":N" + t, "O" + t + ":R" + t};
  std::vector<std::string> standAlone;
  for (const char* column : {"A", "B", "C", "D", "E", "F"}) standAlone.push_back(column + t + ":" + column + b);
  standAlone.insert(standAlone.end(), groups.begin(), groups.end());
  EXPECT_EQ(merged(whole), standAlone);
  EXPECT_EQ(merged(streamed), groups);
  EXPECT_NE(whole.find("<pane "), std::string::npos);
  EXPECT_NE(whole.find("topLeftCell=\"A" + std::to_string(top + 2) + "\""), std::string::npos);
  EXPECT_TRUE(std::regex_search(streamed, std::regex("<c r=\"A" + t + "\"[^>]* t=\"inlineStr\"><is><t>1级产品类别</t>")));
  EXPECT_NE(streamed.find("topLeftCell=\"A" + std::to_string(top + 2) + "\""), std::string::npos);

  // Sheets of 30 rows: every sheet repeats the header, and together they hold every row once.
  sheetOf("split", {.streamedCells = 0, .sheetRows = 30});
  const size_t perSheet = 30 - (top + 1);
  const size_t sheets = (model.rowCount() + perSheet - 1) / perSheet;
  ASSERT_GT(sheets, 1u);
  std::map<std::string, std::string> joined;
  for (size_t k = 1; k <= sheets; ++k) {
    const std::string xml = partOf("split", "xl/worksheets/sheet" + std::to_string(k) + ".xml");
    EXPECT_NE(xml.find("<t>1级产品类别</t>"), std::string::npos) << k;
    for (const auto& [ref, value] : numbers(xml)) {
      // Back to the row the value has on one sheet.
      const size_t digits = ref.find_first_of("0123456789");
      const size_t rowOnSheet = std::stoul(ref.substr(digits));
      const size_t row = rowOnSheet + (k - 1) * perSheet;
      joined[ref.substr(0, digits) + std::to_string(row)] = value;
    }
  }
  EXPECT_EQ(partOf("split", "xl/worksheets/sheet" + std::to_string(sheets + 1) + ".xml"), "");
  EXPECT_EQ(joined, expected);
  EXPECT_NE(partOf("split", "xl/workbook.xml").find("生产任务执行情况汇总表 (2)"), std::string::npos);
}

TEST(Export, HtmlHasTheSameHeaderStructure) {
  auto report = runSummary();
  const TableModel model = TableModel::of(*report);
  std::ostringstream out;
  writeHtml(model, out);
  const std::string html = out.str();
  const auto count = [&](const std::string& what) {
    size_t n = 0;
    for (size_t at = html.find(what); at != std::string::npos; at = html.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("<th rowspan=\"2\">"), 6u);
  EXPECT_EQ(count("<th colspan=\"4\">"), 3u);
  EXPECT_NE(html.find("<th colspan=\"4\">生产任务数量</th>"), std::string::npos);
  EXPECT_EQ(count("<tr class=\"total\">"), 1u);
  EXPECT_GT(count("<tr class=\"subtotal\">"), 0u);
  EXPECT_EQ(count("<tr"), model.rowCount() + 2);
  EXPECT_EQ(html.rfind("</html>\n"), html.size() - 8);
}

}  // namespace
}  // namespace app
