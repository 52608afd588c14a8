// Helpers of the cost report tests: the two reports registered by class name on the logged-in
// demo company, filters, runs under a scripted front end, a data service that records (and
// may fail) its period calls, and an independent connection to the demo database.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cost/rpt498/rpt498.h"
#include "cost/rpt499/rpt499.h"
#include "frame/services/class_names.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/services/connection.h"
#include "midtier/services/shop_data.h"
#include "platform/com/registry.h"
#include "platform/forms/scripted_front_end.h"
#include "support/demo_company.h"

namespace costtest {

// The real data service, recording the periods it is asked for; with `failOnCall` n it
// raises on the n-th period call of either report.
struct RecordingShopData : midtier::ShopData {
  static inline std::vector<std::pair<int, int>> calls;
  static inline int failOnCall = 0;
  static inline std::string failure = "成本数据读取失败：第三期无法访问";

  void record(const plat::Variant& year, const plat::Variant& period) {
    calls.emplace_back(year.toInt32(), period.toInt32());
    if (failOnCall != 0 && static_cast<int>(calls.size()) == failOnCall)
      throw plat::Error(-2147217900, "TavMShopRpt.Data", failure);
  }
  ado::RecordsetRef Get499HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                     lumo::DictionaryRef& fragments, lumo::DictionaryRef& filter) override {
    record(year, period);
    return ShopData::Get499HappenData(props, year, period, fragments, filter);
  }
  ado::RecordsetRef Get498HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                     plat::ObjectRef& state, lumo::DictionaryRef& filter) override {
    record(year, period);
    return ShopData::Get498HappenData(props, year, period, state, filter);
  }
};

// Logs in on the demo company, registers both reports and the recording service. Every test
// fixture of the cost reports derives from this.
class CostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The kept connections must outlive the demo database's clean-up at exit, which closes them.
    static const bool poolFirst = (midtier::closeConnections(), true);
    (void)poolFirst;
    props = support::loginDemo();
    auto& broker = plat::broker();
    broker.Register(cost::kRpt499Class, [] { return std::make_shared<cost::Rpt499>(); });
    broker.Register(cost::kRpt498Class, [] { return std::make_shared<cost::Rpt498>(); });
    broker.Register(svc::kShopRptData, [] { return std::make_shared<RecordingShopData>(); });
    RecordingShopData::calls.clear();
    RecordingShopData::failOnCall = 0;
    frontEnd = std::make_shared<forms::ScriptedFrontEnd>();
    scope.emplace(frontEnd);
  }
  void TearDown() override { scope.reset(); }

  // A report of the class, created through the broker as the host does.
  template <class T>
  std::shared_ptr<T> create(const char* className) {
    return plat::broker().CreateAs<T>(className);
  }

  // Runs a report on a filter let by the host.
  template <class T>
  std::shared_ptr<T> runWith(const char* className, lumo::DictionaryRef filter) {
    auto report = create<T>(className);
    report->SetFilter(std::move(filter));
    report->GetReportData();
    return report;
  }

  // An independent connection to the demo database.
  db::Database& database() {
    if (!independent) independent.emplace(db::Database::open(support::demoDatabase()));
    return *independent;
  }

  std::string props;
  std::shared_ptr<forms::ScriptedFrontEnd> frontEnd;
  std::optional<forms::FrontEndScope> scope;
  std::optional<db::Database> independent;
};

// A period filter as the dialogs write it: every value as text.
inline lumo::DictionaryRef periodFilter(int bYear, int bPeriod, int eYear, int ePeriod) {
  auto f = lumo::newDictionary();
  f->SetValue("BYear", std::to_string(bYear));
  f->SetValue("BPeriod", std::to_string(bPeriod));
  f->SetValue("EYear", std::to_string(eYear));
  f->SetValue("EPeriod", std::to_string(ePeriod));
  f->SetValue("BItemNumber", "");
  f->SetValue("EItemNumber", "");
  return f;
}

// The filter of frmFilter499 with its summary options.
inline lumo::DictionaryRef summaryFilter(int bYear, int bPeriod, int eYear, int ePeriod, int groupBy,
                                         int groupByBatchNo, int bLevel = 1, int eLevel = 3, int onlyShowSum = 0) {
  auto f = periodFilter(bYear, bPeriod, eYear, ePeriod);
  f->SetValue("GroupBy", static_cast<int16_t>(groupBy));
  f->SetValue("OnlyShowSum", static_cast<int16_t>(onlyShowSum));
  f->SetValue("BLevel", std::to_string(bLevel));
  f->SetValue("ELevel", std::to_string(eLevel));
  f->SetValue("GroupByBatchNo", static_cast<int16_t>(groupByBatchNo));
  f->SetValue("SumMode", int32_t{1});
  return f;
}

// Values of one report row by field name.
inline std::string textOf(ado::Recordset& rs, long row, const char* field) {
  return rs.ValueAt(static_cast<size_t>(row), static_cast<size_t>(rs.FieldIndex(field))).text();
}
inline double numberOf(ado::Recordset& rs, long row, const char* field) {
  const plat::Variant v = rs.ValueAt(static_cast<size_t>(row), static_cast<size_t>(rs.FieldIndex(field)));
  return v.isNull() ? 0 : v.toDouble();
}

// The period label of a year and period ("2026.3").
inline std::string label(int year, int period) { return std::to_string(year) + "." + std::to_string(period); }

}  // namespace costtest
