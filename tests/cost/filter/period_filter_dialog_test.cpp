// frmFilter499 and frmFilter498 through the scripted front end: the keys they write and load,
// the period check against the current period 2026/11, bounds and code lookups.
#include <gtest/gtest.h>

#include "cost/filter/filter_keys.h"
#include "cost/filter/frm_filter498.h"
#include "cost/filter/frm_filter499.h"
#include "cost/cost_support.h"
#include "platform/forms/controls.h"
#include "platform/grfc/report_filter.h"
#include "support/dictionary_text.h"
#include "support/filter_key_table.h"

namespace {

using namespace costtest;

class PeriodDialogTest : public CostTest {};

void setPeriods(forms::Form& f, const char* bYear, const char* bPeriod, const char* eYear, const char* ePeriod) {
  const char* values[] = {bYear, bPeriod, eYear, ePeriod};
  for (int i = 0; i < 4; ++i) f.get<forms::TextBox>("txtPeriod", i).SetText(values[i]);
}

TEST_F(PeriodDialogTest, Dialog499WritesItsKeys) {
  auto dialog = std::make_shared<cost::frmFilter499>();
  frontEnd->onShow("frmFilter499", [](forms::Form& f) {
    setPeriods(f, "2025", "13", "2026", "2");  // a start period of 13 is not the dialog's concern
    f.get<forms::TextBox>("txtItem", 0).SetText("01.01'A");
    f.get<forms::TextBox>("txtItem", 1).SetText("01.09");
    f.get<forms::CheckBox>("chkGroupBy").SetValue(1);
    f.get<forms::CheckBox>("chkOnlyShowSum").SetValue(1);
    f.get<forms::CheckBox>("chkGroupByBatchNo").SetValue(1);
    f.get<forms::TextBox>("txtlevel", 0).SetText("2");
    f.get<forms::TextBox>("txtlevel", 1).SetText("4");
    EXPECT_TRUE(grfc::ReportFilter::of(f).Ok());
  });
  dialog->Show();
  EXPECT_EQ(dialog->Caption(), "产品成本综合表");
  EXPECT_EQ(grfc::ReportFilter::of(*dialog).RptID(), 499);
  EXPECT_EQ(dialog->get<forms::ComboBox>("cmbGroupBy").Text(), "物料类别");
  const lumo::Dictionary& r = *dialog->Result();
  EXPECT_EQ(support::dictionaryText(r),
            "BYear=\"2025\"; BPeriod=\"13\"; EYear=\"2026\"; EPeriod=\"2\"; BItemNumber=\"01.01'A\"; "
            "EItemNumber=\"01.09\"; GroupBy=1%; OnlyShowSum=1%; BLevel=\"2\"; ELevel=\"4\"; GroupByBatchNo=1%; "
            "OK=True; SumMode=1&");
  support::ExpectFilterMatchesTable(r, cost::kRpt499Keys, {"OK"});
  EXPECT_TRUE(dialog->FilterString().empty());
  EXPECT_EQ(dialog->FilterObject(), nullptr);
}

TEST_F(PeriodDialogTest, Dialog498WritesEveryBatchAndLoadsSavedKeys) {
  auto dialog = std::make_shared<cost::frmFilter498>();
  frontEnd->onShow("frmFilter498", [](forms::Form& f) {
    auto& events = dynamic_cast<grfc::ReportFilterEvents&>(f);
    auto saved = lumo::newDictionary();
    saved->SetValue("BPeriod", "4");
    saved->SetValue("EYear", "2026");
    saved->SetValue("BatchNo", "P2501-00001");
    events.LoadFilter(saved);
    EXPECT_EQ(f.get<forms::TextBox>("txtPeriod", 0).Text(), "");  // no "BYear" saved
    EXPECT_EQ(f.get<forms::TextBox>("txtPeriod", 1).Text(), "4");
    f.get<forms::TextBox>("txtPeriod", 0).SetText("2026");
    f.get<forms::TextBox>("txtPeriod", 3).SetText("5");
    EXPECT_TRUE(grfc::ReportFilter::of(f).Ok());
  });
  dialog->Show();
  EXPECT_EQ(dialog->Caption(), "产品成本明细表");
  const lumo::Dictionary& r = *dialog->Result();
  EXPECT_EQ(support::dictionaryText(r),
            "BYear=\"2026\"; BPeriod=\"4\"; EYear=\"2026\"; EPeriod=\"5\"; BItemNumber=\"\"; "
            "EItemNumber=\"\"; BatchNo=\"FBATCHNO\"; OK=True");
  support::ExpectFilterMatchesTable(r, cost::kRpt498Keys, {"OK"});
}

struct PeriodCase {
  const char* eYear;
  const char* ePeriod;
  bool refused;
};

// Only the end of the range counts; the current period is 2026/11.
TEST_F(PeriodDialogTest, RefusesEndsAfterTheCurrentPeriod) {
  const PeriodCase cases[] = {
      {"2026", "12", true}, {"2026", "11", false}, {"2027", "1", true}, {"2025", "12", false}, {"2026", "011", false},
  };
  for (const PeriodCase& c : cases) {
    cost::frmFilter499 dialog;
    auto filter = periodFilter(2030, 1, 0, 0);
    filter->SetValue("EYear", c.eYear);
    filter->SetValue("EPeriod", c.ePeriod);
    EXPECT_EQ(dialog.RptFilterPeriodExpire(filter), c.refused) << c.eYear << "/" << c.ePeriod;
  }
  EXPECT_TRUE(frontEnd->messages().empty());

  // An end year that is not a number: the error is shown with the exclamation icon, and passes.
  for (const char* eYear : {"", "二〇二六"}) {
    auto dialog = std::make_shared<cost::frmFilter498>();
    frontEnd->clearLog();
    frontEnd->onShow("frmFilter498", [eYear](forms::Form& f) {
      setPeriods(f, "2026", "1", eYear, "12");
      EXPECT_TRUE(grfc::ReportFilter::of(f).Ok());
    });
    dialog->Show();
    const auto messages = frontEnd->messages();
    ASSERT_EQ(messages.size(), 1u) << eYear;
    EXPECT_EQ(messages[0].style, forms::vbExclamation);
    EXPECT_EQ(messages[0].title, "Ostrel提示");
    EXPECT_EQ(dialog->Result()->Value("OK"), plat::Variant(true));
  }
}

TEST_F(PeriodDialogTest, RefusalKeepsTheDialogOpenWithOkFalse) {
  auto dialog = std::make_shared<cost::frmFilter498>();
  frontEnd->onShow("frmFilter498", [](forms::Form& f) {
    setPeriods(f, "2026", "1", "2026", "12");
    EXPECT_FALSE(grfc::ReportFilter::of(f).Ok());
    EXPECT_TRUE(f.visible());
    auto& dialog = dynamic_cast<cost::frmFilter498&>(f);
    EXPECT_EQ(dialog.Result()->Value("OK"), plat::Variant(false));
    f.get<forms::TextBox>("txtPeriod", 3).SetText("10");
    EXPECT_TRUE(grfc::ReportFilter::of(f).Ok());
  });
  dialog->Show();
  EXPECT_EQ(dialog->Result()->Value("OK"), plat::Variant(true));
  ASSERT_EQ(frontEnd->messages().size(), 1u);
  EXPECT_EQ(frontEnd->messages()[0].text, "过滤条件不允许包含以后期间数据，点击确定返回。");
  EXPECT_EQ(frontEnd->messages()[0].title, "Ostrel提示");
  EXPECT_EQ(frontEnd->messages()[0].style, forms::vbInformation);
}

TEST_F(PeriodDialogTest, BoundsAndLookups) {
  cost::frmFilter499 dialog;
  const std::tuple<const char*, int, int> bounds[] = {{"updBYear", 1970, 9999}, {"updEYear", 1970, 9999},
                                                      {"updBPeriod", 1, 12},    {"updEPeriod", 1, 12},
                                                      {"udBLevel", 1, 5},       {"udELevel", 1, 5}};
  for (const auto& [name, low, high] : bounds) {
    auto& steps = dialog.get<forms::UpDown>(name);
    EXPECT_EQ(steps.Min(), low) << name;
    EXPECT_EQ(steps.Max(), high) << name;
    EXPECT_EQ(steps.Increment(), 1) << name;
  }
  dialog.get<forms::UpDown>("udELevel").StepUp();
  EXPECT_EQ(dialog.txtlevel(1).Text(), "2");

  auto& events = static_cast<grfc::ReportFilterEvents&>(dialog);
  const std::tuple<int, int32_t, std::string> lookups[] = {
      {0, 4, " x2.FErpClsID<>4"}, {1, 4, " x2.FErpClsID<>4"}, {2, 8, "kept"}, {3, 8, "kept"}, {4, 12, "kept"},
      {5, 99, "kept"}};
  dialog.add<forms::TextBox>("txtExtra", 4);
  dialog.add<forms::TextBox>("txtExtra", 5);
  for (const auto& [index, classId, condition] : lookups) {
    forms::Control* control = index < 2   ? &dialog.get<forms::TextBox>("txtItem", index)
                              : index < 4 ? &dialog.txtPeriod(index)
                                          : &dialog.get<forms::TextBox>("txtExtra", index);
    int32_t id = 99;
    std::string extra = "kept";
    events.GetLookupClass(control, id, extra, false);
    EXPECT_EQ(id, classId) << index;
    EXPECT_EQ(extra, condition) << index;
  }
}

TEST_F(PeriodDialogTest, CancelBeforeAnyCheckLeavesNoResult) {
  auto dialog = std::make_shared<cost::frmFilter499>();
  frontEnd->onShow("frmFilter499", [](forms::Form& f) { grfc::ReportFilter::of(f).Cancel(); });
  dialog->Show();
  EXPECT_EQ(dialog->Result(), nullptr);

  // The report: no result object means "OK" false and no message of its own.
  frontEnd->onShow("frmFilter499", [](forms::Form& f) { grfc::ReportFilter::of(f).Cancel(); });
  auto report = create<cost::Rpt499>(cost::kRpt499Class);
  report->ShowFilter();
  EXPECT_FALSE(report->Ok());
  EXPECT_EQ(report->ErrorText(), "");
}

}  // namespace
