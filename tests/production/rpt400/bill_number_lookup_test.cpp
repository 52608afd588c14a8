// The bill-number lookup of the detail report's dialog with the real journal list control over
// the demo company, driven through the list window as a user would. The task box's whole journal
// and a picked task are tmux_list_test's, at a terminal.
#include <gtest/gtest.h>

#include "midtier/services/service_test_support.h"
#include "production/common/production_harness.h"

namespace {

class BillNumberLookup : public prodtest::ReportTest {
 protected:
  std::vector<std::string> billNumbers(const std::string& table, const std::string& where = "") {
    db::Statement select = database().prepare("SELECT FBillNo FROM " + table + where +
                                              " ORDER BY FDate DESC, FInterID DESC");
    std::vector<std::string> out;
    while (select.step()) out.push_back(select.getText(0));
    return out;
  }
  static svc::ListBrowser& browser(forms::Form& list) {
    svc::ListBrowser* found = svc::listBrowserOf(list);
    if (!found) throw plat::Error(5, "test", "the list window hosts no journal");
    return *found;
  }
  static std::vector<std::string> shown(svc::ListBrowser& list) {
    std::vector<std::string> numbers;
    for (const auto& row : list.Rows(0, 1'000'000)) numbers.push_back(row.at(0));
    return numbers;
  }

  // Shows the detail report's dialog; in it, types `typed` into txtItem(box), runs `inList` in
  // the list window when it shows, and returns what the box holds after the lookup.
  std::string lookUp(int box, const std::string& typed, std::function<void(forms::Form&)> inList) {
    std::string result = "(dialog not shown)";
    fe->onShow("frmFilter400", [&](forms::Form& dialog) {
      auto& text = dialog.get<forms::TextBox>("txtItem", box);
      text.SetText(typed);
      if (inList) fe->onShow("frmList", inList);
      grfc::ReportFilter::of(dialog).Lookup(text, true);
      result = text.Text();
      grfc::ReportFilter::of(dialog).Cancel();
    });
    create("TavShopRpt.Rpt400")->ShowFilter();
    return result;
  }
};

TEST_F(BillNumberLookup, SalesOrderBoxOpensTheBillsHoldingTheTypedNumber) {
  const auto typed = billNumbers("SEOrder", " WHERE instr(FBillNo, 'SO-0003') > 0");
  ASSERT_EQ(typed.size(), 100u);
  const std::string filled = lookUp(4, "SO-0003", [&](forms::Form& list) {
    EXPECT_EQ(list.Caption(), "销售订单序时簿");
    svc::ListBrowser& journal = browser(list);
    EXPECT_EQ(shown(journal), typed);
    journal.MoveTo(1);
    journal.Confirm();
  });
  EXPECT_EQ(filled, typed.at(1));

  // Leaving the window keeps what was typed.
  EXPECT_EQ(lookUp(5, "SO-0003", [](forms::Form& list) { browser(list).Exit(); }), "SO-0003");
}

TEST_F(BillNumberLookup, NothingToShowClosesAtOnceAndQuotesHarmNothing) {
  const size_t orders = billNumbers("SEOrder").size();
  size_t lookups = 0;
  for (const std::string typed : {"SO-12", "SO'1", "x' OR '1'='1", "'); DROP TABLE SEOrder; --"}) {
    SCOPED_TRACE(typed);
    EXPECT_EQ(lookUp(4, typed, [](forms::Form&) { ADD_FAILURE() << "an empty journal was shown"; }), typed);
    EXPECT_EQ(fe->pendingSteps("frmList"), ++lookups);  // the window closed before its step could run
  }
  EXPECT_EQ(billNumbers("SEOrder").size(), orders);
}

TEST_F(BillNumberLookup, ABillWithoutInternalIdIsToldAndLeavesTheBox) {
  svctest::DatabaseCopy copy;
  copy.open().exec(
      "INSERT INTO SEOrder (FInterID, FBillNo, FDate, FCustID) SELECT 0, 'SO-000000', '2027-01-01', FItemID"
      " FROM t_organization LIMIT 1");
  copy.login();
  const std::string filled = lookUp(4, "SO-00000", [](forms::Form& list) {
    svc::ListBrowser& journal = browser(list);
    ASSERT_EQ(journal.Rows(0, 1).at(0).at(0), "SO-000000");  // newest first
    journal.Select(0);
    journal.Confirm();
  });
  EXPECT_EQ(filled, "SO-00000");
  const auto messages = fe->messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "未返回产品入库单的代码!");
  EXPECT_EQ(messages[0].title, "Ostrel提示：");
  EXPECT_EQ(messages[0].style, forms::vbInformation);
}

}  // namespace
