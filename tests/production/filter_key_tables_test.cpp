// The production task dialogs against their reports' filter-key tables, with their defaults and
// with every list at its last choice.
#include <gtest/gtest.h>

#include "production/rpt400/filter_keys.h"
#include "production/rpt400/frm_filter400.h"
#include "production/common/production_harness.h"
#include "production/rpt401/filter_keys.h"
#include "production/rpt401/frm_filter401.h"
#include "production/rpt406/filter_keys.h"
#include "production/rpt406/frm_filter406.h"
#include "production/rpt410/filter_keys.h"
#include "production/rpt410/frm_filter410.h"
#include "support/filter_key_table.h"

namespace {

class FilterKeyTables : public prodtest::ReportTest {
 protected:
  // The dialog's result after acceptance; with `lastChoices` every list first moves to its last item.
  template <class Dialog>
  lumo::DictionaryRef accepted(const char* name, bool lastChoices) {
    auto dialog = std::make_shared<Dialog>();
    fe->onShow(name, [lastChoices](forms::Form& f) {
      if (lastChoices)
        for (const auto& c : f.controls())
          if (auto* list = dynamic_cast<forms::ComboBox*>(c.get())) list->SetListIndex(list->ListCount() - 1);
      grfc::ReportFilter::of(f).Ok();
    });
    dialog->Show();
    return dialog->Result();
  }

  template <class Dialog>
  void expectBoth(const char* name, const frame::FilterKeys& table, const std::set<std::string>& extra) {
    for (bool last : {false, true}) {
      SCOPED_TRACE(std::string(name) + (last ? " at the last choices" : " at its defaults"));
      lumo::DictionaryRef result = accepted<Dialog>(name, last);
      ASSERT_TRUE(result);
      support::ExpectFilterMatchesTable(*result, table, extra);
    }
  }
};

TEST_F(FilterKeyTables, EachDialogWritesItsTable) {
  expectBoth<production::frmFilter400>("frmFilter400", production::kRpt400Keys, {"OK"});
  expectBoth<production::frmFilter401>("frmFilter401", production::kRpt401Keys, {"OK", "SumField"});
  expectBoth<production::frmFilter406>("frmFilter406", production::kRpt406Keys, {"OK"});
  expectBoth<production::frmFilter410>("frmFilter410", production::kRpt410Keys, {"OK"});
}

// The table's defaults are the lists' load defaults, and its captions the dialog's items.
TEST_F(FilterKeyTables, ListsOpenAtTheTableDefaults) {
  production::frmFilter400 dialog;
  dialog.Load();
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckState").Text(), "已审核");
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckClose").Text(), "全部");
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbExecuteState").Text(), "全部");
  EXPECT_EQ(dialog.get<forms::ComboBox>("CmbDisplayType").Text(), "全部");
  production::frmFilter410 overdue;
  overdue.Load();
  EXPECT_EQ(overdue.get<forms::ComboBox>("cmbCheckState").Text(), "全部");
  EXPECT_EQ(overdue.get<forms::ComboBox>("cmbCheckClose").Text(), "未关闭");
}

}  // namespace
