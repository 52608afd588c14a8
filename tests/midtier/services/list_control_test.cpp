// TavList.ICList over the demo company: paging, data rights, the filter, large searches, multi-select.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "midtier/db/statement.h"
#include "midtier/services/list_control.h"
#include "midtier/services/list_control_settings.h"
#include "midtier/services/register.h"
#include "midtier/services/shop_data.h"
#include "service_test_support.h"

namespace {

constexpr int32_t kRestrictedOnCustomers = 16395;  // 张明
constexpr int32_t kRestrictedOnSuppliers = 16396;  // 李华

class ListControl : public ::testing::Test {
 protected:
  void SetUp() override {
    // The kept connections are made before the demo database's exit handler that closes them is
    // registered, so that they are destroyed after it has run.
    midtier::closeConnections();
    midtier::registerServices(plat::broker());
  }

  // A journal set up as the bill-number lookup sets it up.
  static std::shared_ptr<midtier::ICList> journal(int32_t billType, const std::string& filter = "",
                                                  int32_t user = support::kAdministrator,
                                                  const std::string& db = support::demoDatabase()) {
    auto list = std::make_shared<midtier::ICList>();
    list->SetProperty("BaseInfo", db + "|" + std::to_string(user) + "|someone");
    list->SetProperty("ListID", billType);
    list->SetProperty("ListShowStatus", 6);
    list->SetProperty("DestBillTransType", "0");
    if (!filter.empty()) list->SetProperty("Filter", filter);
    list->SetProperty("MultiSelect", false);
    return list;
  }
  // The first column of every row, reading the journal to its end.
  static std::vector<std::string> billNumbers(svc::ListBrowser& list) {
    std::vector<std::string> numbers;
    for (const auto& row : list.Rows(0, 1'000'000)) numbers.push_back(row.at(0));
    EXPECT_FALSE(list.HasMoreRows());
    return numbers;
  }
  static std::vector<std::string> texts(const std::string& sql, const std::string& db = support::demoDatabase()) {
    db::Database check = db::Database::open(db);
    db::Statement select = check.prepare(sql);
    std::vector<std::string> out;
    while (select.step()) out.push_back(select.getText(0));
    return out;
  }
};

TEST_F(ListControl, JournalsAreReadPageByPageInTheirOrderForTheirUser) {
  struct Case {
    int32_t billType;
    std::string filter;  // as the bill-number lookup sets it
    std::string search;  // typed into the list window
    int32_t user;
    std::string expected;  // the bill numbers, newest first
  };
  const std::string order = " ORDER BY b.FDate DESC, b.FInterID DESC";
  const std::string visibleOrders =
      "SELECT o.FInterID FROM SEOrder o JOIN t_organization c ON c.FItemID = o.FCustID"
      " WHERE instr(c.FRightUserID, ',16395,') > 0";
  const std::string orders = "SELECT b.FBillNo FROM SEOrder b";
  const std::string typed = " WHERE instr(b.FBillNo, 'SO-0001') > 0";
  const int32_t admin = support::kAdministrator;
  const std::vector<Case> cases = {
      // Many tasks share a date, so pages end in the middle of a day.
      {36, "", "", admin, "SELECT b.FBillNo FROM ICMO b" + order},
      {32, " FBillNo Like '%SO-0001%'", "", admin, orders + typed + order},
      {32, " FBillNo Like '%SO-0001%'", "7", admin, orders + typed + " AND instr(b.FBillNo, '7') > 0" + order},
      {32, " FBillNo Like '%SO-0001%'", "so-00017", admin, orders + " WHERE instr(b.FBillNo, 'SO-00017') > 0" + order},
      // Pattern characters typed are text.
      {36, "", "%", admin, "SELECT b.FBillNo FROM ICMO b WHERE instr(b.FBillNo, '%') > 0"},
      {36, "", "_", admin, "SELECT b.FBillNo FROM ICMO b WHERE instr(b.FBillNo, '_') > 0"},
      {32, "", "", kRestrictedOnCustomers, orders + " WHERE b.FInterID IN (" + visibleOrders + ")" + order},
      {36, "", "", kRestrictedOnCustomers,
       "SELECT b.FBillNo FROM ICMO b WHERE b.FOrderInterID = 0 OR b.FOrderInterID IN (" + visibleOrders + ")" + order},
      {32, "", "", kRestrictedOnSuppliers, orders + order},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.billType) + c.filter + " / " + c.search + " / " + std::to_string(c.user));
    auto list = journal(c.billType, c.filter, c.user);
    ASSERT_TRUE(list->InitData()) << list->LastError();
    if (!c.search.empty()) list->Search(c.search);
    const auto expected = texts(c.expected);
    EXPECT_EQ(list->RowCount(), std::min<long>(midtier::ICList::kPageRows, static_cast<long>(expected.size())))
        << "only the first page is read at first";
    EXPECT_EQ(list->HasMoreRows(), static_cast<long>(expected.size()) > midtier::ICList::kPageRows);
    EXPECT_EQ(billNumbers(*list), expected);
  }
  EXPECT_EQ(texts("SELECT count(*) FROM SEOrder WHERE instr(FBillNo, 'SO-0001') > 0").at(0), "100");
}

TEST_F(ListControl, RowsShowTheBillsFieldsAndTheTasksStateInWords) {
  auto tasks = journal(36);
  ASSERT_TRUE(tasks->InitData());
  std::vector<std::string> captions;
  for (const auto& c : tasks->Columns()) captions.push_back(c.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"单据编号", "日期", "产品代码", "产品名称", "计划数量", "单位", "状态"}));
  const auto row = tasks->Rows(0, 1).at(0);
  const auto first = texts(
      "SELECT b.FBillNo || '|' || b.FDate || '|' || i.FNumber || '|' || i.FName || '|' || CAST(b.FQty AS INTEGER)"
      " || '|' || u.FName FROM ICMO b JOIN t_ICItem i ON i.FItemID = b.FItemID"
      " JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID ORDER BY b.FDate DESC, b.FInterID DESC LIMIT 1");
  EXPECT_EQ(row[0] + "|" + row[1] + "|" + row[2] + "|" + row[3] + "|" + row[4] + "|" + row[5], first.at(0));
  // Every task's state in words: closed before finished (status 3), released (1) or planned.
  const auto states = texts("SELECT FClosed || '|' || FStatus FROM ICMO ORDER BY FDate DESC, FInterID DESC");
  const auto rows = tasks->Rows(0, 1'000'000);
  ASSERT_EQ(rows.size(), states.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    const bool closed = states[r][0] != '0';
    const std::string status = states[r].substr(2);
    EXPECT_EQ(rows[r][6], closed ? "结案" : status == "3" ? "完工" : status == "1" ? "下达" : "计划") << rows[r][0];
  }

  // Quantity and amount are a sales order's entries summed; amounts show two places.
  auto orders = journal(32);
  ASSERT_TRUE(orders->InitData());
  const auto order = orders->Rows(0, 1).at(0);
  const auto sums = texts(
      "SELECT CAST(total(FQty) AS INTEGER) || '|' || printf('%.2f', total(FAmount)) FROM SEOrderEntry"
      " WHERE FInterID = (SELECT FInterID FROM SEOrder WHERE FBillNo = '" + order[0] + "')");
  EXPECT_EQ(order[3] + "|" + order[4], sums.at(0));
}

TEST_F(ListControl, FiltersOfAnotherShapeAndBadSettingsAreRefused) {
  struct Case {
    std::string filter;
    std::vector<std::string> parts;
  };
  for (const Case& c : std::vector<Case>{{"", {}},
                                         {"   ", {}},
                                         {" FBillNo Like '%SO-12%'", {"SO-12"}},
                                         {"fbillno LIKE '%a%' or 1=1 or FBillNo like '%b%'",
                                          {"a%' or 1=1 or FBillNo like '%b"}},
                                         {" FBillNo Like '%%'", {}}})
    EXPECT_EQ(midtier::parseJournalFilter(c.filter), c.parts) << c.filter;

  for (const std::string filter : {"FInterID > 0", " FBillNo Like 'SO%'", " FBillNo = 'SO-000001'", "1=1",
                                   " FBillNo Like '%SO%' AND FClosed = 0"}) {
    auto list = journal(32, filter);
    EXPECT_FALSE(list->InitData()) << filter;
    EXPECT_NE(list->LastError().find("FBillNo Like"), std::string::npos) << list->LastError();
    EXPECT_FALSE(list->CanShow());
  }
  auto unknown = journal(99);
  EXPECT_FALSE(unknown->InitData());
  EXPECT_NE(unknown->LastError().find("99"), std::string::npos) << unknown->LastError();
  for (const std::string info : {"", "demo.db", "demo.db|x|name", "|16394|name"}) {
    auto list = journal(36);
    list->SetProperty("BaseInfo", info);
    EXPECT_FALSE(list->InitData()) << info;
    EXPECT_NE(list->LastError().find("基础信息"), std::string::npos) << list->LastError();
  }
  const auto login = midtier::parseBaseInfo("/data/a.db|16395|张|明");
  EXPECT_EQ(login.dbFile + "/" + std::to_string(login.userId) + "/" + login.userName, "/data/a.db/16395/张|明");
}

TEST_F(ListControl, SearchFindsManyOrFewMatchesAlikeAndSeesNewBills) {
  // Enough extra tasks that a common part matches more bills than are put in order from the
  // bill-number index; those are found walking the dates instead.
  svctest::DatabaseCopy copy;
  db::Database writer = copy.open();
  writer.exec(
      "WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 100500)"
      " INSERT INTO ICMO (FBillNo, FDate, FItemID, FUnitID, FAuxQty, FQty, FPlanCommitDate, FPlanFinishDate)"
      " SELECT printf('WORKX%06d', v), date('2025-01-01', '+' || (v % 600) || ' days'), FItemID, FUnitID, 1, 1,"
      " '2025-01-01', '2025-02-01' FROM n, (SELECT FItemID, FUnitID FROM ICMO LIMIT 1)");
  const auto expected = [&](const std::string& part, int limit) {
    return texts("SELECT FBillNo FROM ICMO WHERE FBillNo LIKE '%" + part +
                     "%' ORDER BY FDate DESC, FInterID DESC LIMIT " + std::to_string(limit),
                 copy.path());
  };
  auto list = journal(36, "", support::kAdministrator, copy.path());
  ASSERT_TRUE(list->InitData()) << list->LastError();
  list->Search("WORKX");
  std::vector<std::string> firstPages;
  for (const auto& row : list->Rows(0, 350)) firstPages.push_back(row.at(0));
  EXPECT_EQ(firstPages, expected("WORKX", 350));
  for (const std::string part : {"workx0001", "X00599", "WORK0001", "ORK00"}) {
    list->Search(part);
    EXPECT_EQ(billNumbers(*list), expected(part, 1'000'000)) << part;
  }

  // A bill written between two searches for the same text is found by the second.
  list->Search("WORK0001");
  writer.exec("UPDATE ICMO SET FBillNo = 'WORK0001-NEW', FDate = '2030-01-01' WHERE FBillNo = 'WORKX000001'");
  list->Search("WORK0001");
  EXPECT_EQ(list->Rows(0, 1).at(0).at(0), "WORK0001-NEW");
  EXPECT_EQ(billNumbers(*list), expected("WORK0001", 1'000'000));
}

TEST_F(ListControl, MultiSelectTogglesAndTheCursorStaysInside) {
  auto list = journal(36);
  list->SetProperty("MultiSelect", true);
  ASSERT_TRUE(list->InitData());
  const auto numbers = billNumbers(*list);
  EXPECT_FALSE(list->ConfirmSelection()) << "nothing selected";
  list->MoveTo(-4);
  EXPECT_EQ(list->CurrentRow(), 0);
  list->MoveTo(1'000'000);
  EXPECT_EQ(list->CurrentRow(), static_cast<long>(numbers.size()) - 1);

  list->Select(1);
  list->Select(2);
  list->Select(1);  // toggles off
  list->Select(7);
  std::vector<std::string> selected;
  const lumo::VectorRef rows = list->Selected();  // held: the loop would outlive a temporary
  for (const auto& row : *rows) {
    auto d = row.as<lumo::Dictionary>();
    EXPECT_GT(d->Value("FInterID").toInt32(), 0);
    selected.push_back(d->Value("FBillNo").text());
  }
  EXPECT_EQ(selected, (std::vector<std::string>{numbers[2], numbers[7]}));
  EXPECT_TRUE(list->ConfirmSelection());
  list->Release();
  EXPECT_EQ(list->RowCount(), 0);
  EXPECT_EQ(list->Selected()->Count(), 0);
  EXPECT_EQ(list->GetListRs(), nullptr);
}

}  // namespace
