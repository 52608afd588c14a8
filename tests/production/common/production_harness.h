// The demo company for the production task report tests: the middle tier, the filter grid and
// the four reports registered, the administrator logged in, a scripted
// front end, and the text-box check every report with code boxes must pass. A failing service or
// database ends a run the same way for every report: the report base's lifecycle test and the
// command line check that.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/host/settings.h"
#include "frame/report/filter_dialog.h"
#include "frame/report/report.h"
#include "frame/services/class_names.h"
#include "frame/services/list_control.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/services/connection.h"
#include "midtier/services/login.h"
#include "midtier/services/register.h"
#include "midtier/services/shop_data.h"
#include "platform/forms/scripted_front_end.h"
#include "platform/grfc/register.h"
#include "platform/grfc/report_filter.h"
#include "platform/grfc/scheme_store.h"
#include "production/register.h"
#include "production/rpt401/rpt401.h"
#include "production/rpt410/rpt410.h"
#include "support/caption_format.h"
#include "support/demo_company.h"

namespace prodtest {

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The kept connections must outlive the demo database's exit handler, which closes them:
    // made before the handler is registered, they are destroyed after it has run.
    midtier::closeConnections();
    grfc::registerReportFilter(plat::broker());
    props = support::loginDemo();
    // No scheme store: every dialog starts from its load defaults, whatever ran before.
    plat::broker().Unregister(grfc::kSchemeStoreClass);
    production::registerProductionReports(plat::broker());
    frame::ResetGeneralLedger();
  }
  void TearDown() override {
    midtier::registerServices(plat::broker());
    midtier::setLoginProperties(props, "administrator");
  }

  template <class T = frame::Report>
  std::shared_ptr<T> create(const char* className) {
    return plat::broker().CreateAs<T>(className);
  }
  db::Database& database() { return *midtier::connect(props).sqlite(); }

  std::shared_ptr<forms::ScriptedFrontEnd> fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope{fe};
  std::string props;
};

// The first column of a query as whole numbers, the texts bound to ?1, ?2, ...
inline std::vector<int64_t> Ids(db::Database& database, const std::string& sql, std::vector<std::string> params = {}) {
  db::Statement s = database.prepare(sql);
  for (size_t i = 0; i < params.size(); ++i) s.bind(static_cast<int>(i + 1), params[i]);
  std::vector<int64_t> out;
  while (s.step()) out.push_back(s.getInt64(0));
  return out;
}

inline double Number(db::Database& database, const std::string& sql) {
  db::Statement s = database.prepare(sql);
  return s.step() ? s.getDouble(0) : 0;
}

// The FInterID of every detail row (FSumSort 0 or no FSumSort), in row order.
inline std::vector<int64_t> DetailIds(const ado::Recordset& rs, const char* idField = "FInterID") {
  std::vector<int64_t> out;
  const long sort = rs.FieldIndex("FSumSort");
  const auto id = static_cast<size_t>(rs.FieldIndex(idField));
  for (size_t r = 0; r < static_cast<size_t>(rs.RecordCount()); ++r)
    if (sort < 0 || rs.NumberAt(r, static_cast<size_t>(sort)) == 0) out.push_back(static_cast<int64_t>(rs.NumberAt(r, id)));
  return out;
}

inline double Field(const ado::Recordset& rs, size_t row, const char* field) {
  return rs.NumberAt(row, static_cast<size_t>(rs.FieldIndex(field)));
}

inline void SetDate(forms::Form& form, const char* picker, const char* iso) {
  form.get<forms::DatePicker>(picker).SetValue(*plat::Date::parse(iso));
}

// Picks the first bill of the journal list (the newest) the next time the list shows.
inline void PickFirstBillNext(forms::ScriptedFrontEnd& fe) {
  fe.onShow("frmList", [](forms::Form& f) {
    svc::ListBrowser* journal = svc::listBrowserOf(f);
    ASSERT_NE(journal, nullptr);
    journal->Select(0);
    journal->Confirm();
  });
}

// The newest bill number of `table` (ICMO, SEOrder): the first row of its journal.
inline std::string NewestBill(db::Database& database, const std::string& table) {
  db::Statement s = database.prepare("SELECT FBillNo FROM " + table + " ORDER BY FDate DESC, FInterID DESC LIMIT 1");
  return s.step() ? s.getText(0) : std::string();
}

// Every text box of the dialog `dialog` (both boxes of a range at once), given quotes, SQL and
// control characters, runs the report to "OK" true with no detail row.
inline void ExpectTextBoxesBound(const char* className, const char* dialog, forms::ScriptedFrontEnd& fe,
                                 std::initializer_list<std::vector<int>> boxGroups) {
  for (const std::string& nasty : {std::string("x' OR '1'='1"), std::string("'); DROP TABLE ICMO; --"),
                                   std::string("a\r\nb\t") + '\0' + "c", std::string("%_[]\"")}) {
    for (const std::vector<int>& boxes : boxGroups) {
      SCOPED_TRACE(std::string(dialog) + " txtItem(" + std::to_string(boxes.front()) + ")");
      auto rpt = plat::broker().CreateAs<frame::Report>(className);
      fe.onShow(dialog, [&](forms::Form& f) {
        for (int box : boxes) f.get<forms::TextBox>("txtItem", box).SetText(nasty);
        grfc::ReportFilter::of(f).Ok();
      });
      rpt->ShowFilter();
      ASSERT_TRUE(rpt->Ok());
      rpt->GetReportData();
      ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();
      EXPECT_TRUE(DetailIds(*rpt->Rs()).empty());
    }
  }
}

}  // namespace prodtest
