// The production task dialogs against their reports' filter-key tables, with their defaults and
// with every list at its last choice; what each of their code boxes looks up.
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

struct ClassLookup {
  int box;
  int32_t classId;  // -1: the box looks nothing up
  std::string condition;
};

// What each code box of `Dialog` looks up: a base-item class (products with the condition that
// leaves out their own class), or a bill journal whose picked bill fills the box.
template <class Dialog>
void expectLookups(const std::vector<ClassLookup>& classes, const std::vector<std::pair<int, std::string>>& bills,
                   forms::ScriptedFrontEnd& fe, db::Database& database) {
  Dialog dialog;
  dialog.Load();
  auto& events = static_cast<grfc::ReportFilterEvents&>(dialog);
  for (const ClassLookup& c : classes) {
    forms::Control* box = &dialog.template get<forms::TextBox>("txtItem", c.box);
    int32_t classId = -1;
    std::string condition;
    events.GetLookupClass(box, classId, condition, false);
    EXPECT_EQ(classId, c.classId) << dialog.name() << " box " << c.box;
    EXPECT_EQ(condition, c.condition) << dialog.name() << " box " << c.box;
    EXPECT_EQ(dialog.template get<forms::TextBox>("txtItem", c.box).Text(), "") << "no bill lookup asked";
  }
  for (const auto& [box, table] : bills) {
    prodtest::PickFirstBillNext(fe);
    forms::Control* target = &dialog.template get<forms::TextBox>("txtItem", box);
    int32_t classId = 0;
    std::string condition;
    events.GetLookupClass(target, classId, condition, true);
    EXPECT_EQ(dialog.template get<forms::TextBox>("txtItem", box).Text(), prodtest::NewestBill(database, table))
        << dialog.name() << " box " << box;
  }
}

TEST_F(FilterKeyTables, EachCodeBoxLooksUpItsClassOrBill) {
  const std::string products = " x2.FErpClsID<>4";
  expectLookups<production::frmFilter400>({{0, 3, ""}, {1, 3, ""}, {2, 4, products}, {3, 4, products}, {6, 2, ""},
                                           {7, 2, ""}, {4, -1, ""}, {9, -1, ""}, {10, -1, ""}},
                                          {{5, "SEOrder"}, {8, "ICMO"}}, *fe, database());
  expectLookups<production::frmFilter401>({{0, 3, ""}, {1, 3, ""}, {2, 4, products}, {3, 4, products}, {6, 2, ""},
                                           {7, 2, ""}, {10, -1, ""}},
                                          {}, *fe, database());
  expectLookups<production::frmFilter406>({{1, 4, products}}, {{4, "ICMO"}}, *fe, database());
  expectLookups<production::frmFilter410>({{0, 4, products}, {3, 2, ""}, {7, 3, ""}, {4, -1, ""}}, {{4, "ICMO"}}, *fe,
                                          database());
}

}  // namespace
