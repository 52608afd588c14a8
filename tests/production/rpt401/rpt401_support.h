// Running Rpt401 through the broker with a scripted frmFilter401 on the demo database, reading
// its rows, and independent sums straight from the same database.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "platform/forms/forms.h"
#include "platform/grfc/grfc.h"
#include "production/rpt401/rpt401.h"
#include "support/demo_company.h"

namespace rpt401_test {

// Every control of the dialog, so that the last-used scheme the grid restores never leaks in.
struct Choice {
  std::string bDate = "2025-07-01", eDate = "2026-06-30";
  std::string bItem, eItem, bEmp, eEmp, bDept, eDept, batch;
  int16_t groupBy = 0;
  int basis = -1;  // cmbGroupBy: 0 product class, 1 department
  std::string bLevel = "1", eLevel = "3";
  int16_t onlySum = 0, byProduct = 0;
  int checkState = 2, checkClose = 2;
};

inline void fill(forms::Form& f, const Choice& c) {
  f.get<forms::DatePicker>("DtpBDate").SetValue(*plat::Date::parse(c.bDate));
  f.get<forms::DatePicker>("DtpEDate").SetValue(*plat::Date::parse(c.eDate));
  const std::pair<int, std::string> boxes[] = {{0, c.bEmp}, {1, c.eEmp}, {2, c.bItem}, {3, c.eItem},
                                               {6, c.bDept}, {7, c.eDept}, {10, c.batch}};
  for (const auto& [index, text] : boxes) f.get<forms::TextBox>("txtItem", index).SetText(text);
  f.get<forms::CheckBox>("chkGroupBy").SetValue(c.groupBy);
  f.get<forms::ComboBox>("cmbGroupBy").SetListIndex(c.basis);
  f.get<forms::TextBox>("txtlevel", 0).SetText(c.bLevel);
  f.get<forms::TextBox>("txtlevel", 1).SetText(c.eLevel);
  f.get<forms::CheckBox>("chkOnlyShowSum").SetValue(c.onlySum);
  f.get<forms::CheckBox>("chkGroupByBatchNo").SetValue(c.byProduct);
  f.get<forms::ComboBox>("cmbCheckState").SetListIndex(c.checkState);
  f.get<forms::ComboBox>("cmbCheckClose").SetListIndex(c.checkClose);
}

struct ReportRun {
  std::shared_ptr<production::Rpt401> report;
  std::shared_ptr<forms::ScriptedFrontEnd> fe;
};

inline ReportRun runReport(const Choice& choice) {
  auto fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope(fe);
  fe->onShow("frmFilter401", [choice](forms::Form& f) {
    fill(f, choice);
    grfc::ReportFilter::of(f).Ok();
  });
  auto report = plat::broker().CreateAs<production::Rpt401>(production::kRpt401Class);
  report->ShowFilter();
  report->GetReportData();
  return {report, fe};
}

// The report's rows as text and numbers by field name.
struct Row {
  std::map<std::string, plat::Variant> values;
  std::string text(const std::string& f) const { return values.count(f) ? values.at(f).text() : std::string(); }
  double number(const std::string& f) const { return plat::val(text(f)); }
  int sort() const { return static_cast<int>(number("FSumSort")); }
};

inline std::vector<Row> rowsOf(const ado::Recordset& rs) {
  std::vector<Row> rows(static_cast<size_t>(rs.RecordCount()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t f = 0; f < static_cast<size_t>(rs.FieldCount()); ++f)
      rows[r].values[rs.FieldAt(f).name] = rs.ValueAt(r, f);
  return rows;
}

struct Sums {
  double base = 0, stock = 0, finish = 0, finishStock = 0;
  int tasks = 0;
};

// Sums of the tasks dated in [from, to], grouped by `key` (SQL over ICMO m, product t, the
// product's common unit u and department d).
inline std::map<std::string, Sums> sqlSums(const std::string& key, const std::string& from, const std::string& to,
                                           const std::string& where = "1=1") {
  db::Database database = db::Database::open(support::demoDatabase());
  db::Statement s = database.prepare(
      "SELECT " + key +
      ", sum(m.FQty), sum(m.FQty / u.FCoefficient), sum(m.FQtyFinish), sum(m.FQtyFinish / u.FCoefficient), count(*)"
      " FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID"
      " LEFT JOIN t_Department d ON d.FItemID = m.FDeptID WHERE m.FDate BETWEEN ?1 AND ?2 AND " + where +
      " GROUP BY 1");
  s.bindAll(from, to);
  std::map<std::string, Sums> out;
  while (s.step())
    out[s.getText(0)] = {s.getDouble(1), s.getDouble(2), s.getDouble(3), s.getDouble(4), static_cast<int>(s.getInt64(5))};
  return out;
}

}  // namespace rpt401_test
