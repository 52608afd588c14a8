// frmFilter400: the keys it writes (order, types, doubled quotes), the actual-finish range that
// follows chkFinish, restoring a scheme and reset.
#include <gtest/gtest.h>

#include "production/rpt400/frm_filter400.h"
#include "production/common/production_harness.h"
#include "support/dictionary_text.h"

namespace {

class FrmFilter400Test : public prodtest::ReportTest {};

TEST_F(FrmFilter400Test, WritesItsKeysInOrderWithQuotesDoubled) {
  auto rpt = create("TavShopRpt.Rpt400");
  fe->onShow("frmFilter400", [](forms::Form& f) {
    f.get<forms::TextBox>("txtItem", 2).SetText("A'B");
    f.get<forms::TextBox>("txtItem", 10).SetText("P'1");
    grfc::ReportFilter::of(f).Ok();
  });
  rpt->ShowFilter();
  ASSERT_TRUE(rpt->Ok());
  // The actual-finish dates are gone while chkFinish is unchecked; typed quotes are doubled.
  const std::string today = plat::Date::today().iso();
  std::string written = support::dictionaryText(*rpt->Filter());
  written.replace(written.find(today.substr(0, 4) + "-01-01"), 10, "new year");
  written.replace(written.find(today), 10, "today");
  EXPECT_EQ(written,
            "BDate=\"new year\"; EDate=\"today\"; BWorkDate=\"1900-01-01\"; EWorkDate=\"2100-01-01\"; "
            "BPlanDate=\"1900-01-01\"; EPlanDate=\"2100-01-01\"; BItemNumber=\"A''B\"; EItemNumber=\"\"; "
            "BOrderBillNo=\"\"; EOrderBillNo=\"\"; BEmp=\"\"; EEmp=\"\"; BDept=\"\"; EDept=\"\"; "
            "BProductBillNo=\"\"; EProductBillNo=\"\"; DisplayType=0%; CheckState=0%; CheckClose=2%; "
            "ExecuteState=0%; chkFinish=0%; BBatchNo=\"P''1\"; OK=True; OrderBy=\"\"");

  fe->onShow("frmFilter400", [](forms::Form& f) {
    f.get<forms::CheckBox>("chkFinish").Click();
    prodtest::SetDate(f, "DtpBFactDate", "2025-03-01");
    grfc::ReportFilter::of(f).Ok();
  });
  rpt->ShowFilter();
  EXPECT_EQ(rpt->Filter()->Value("BFactDate"), plat::Variant("2025-03-01"));
  EXPECT_TRUE(rpt->Filter()->Lookup("EFactDate"));
  EXPECT_EQ(rpt->Filter()->Value("chkFinish"), plat::Variant(int16_t{1}));

  fe->onShow("frmFilter400", [](forms::Form& f) { grfc::ReportFilter::of(f).Cancel(); });
  rpt->ShowFilter();
  EXPECT_FALSE(rpt->Ok());
}

TEST_F(FrmFilter400Test, RestoresASchemeAndResets) {
  production::frmFilter400 dialog;
  dialog.Load();
  auto saved = lumo::newDictionary();
  saved->SetValue("BItemNumber", "A''B");
  saved->SetValue("chkFinish", "1");
  saved->SetValue("CheckState", int16_t{2});
  saved->SetValue("BPlanDate", "2025-05-06");
  dialog.LoadFilter(saved);
  EXPECT_EQ(dialog.get<forms::TextBox>("txtItem", 2).Text(), "A'B");  // shown as typed
  EXPECT_EQ(dialog.get<forms::TextBox>("txtItem", 3).Text(), "");
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckClose").Text(), "全部");  // missing key
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckState").Text(), "全部");
  EXPECT_EQ(dialog.get<forms::DatePicker>("DtpBPlanDate").Value().iso(), "2025-05-06");
  EXPECT_TRUE(dialog.get<forms::DatePicker>("DtpEFactDate").Enabled());

  dialog.ResetControls();
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckState").Text(), "已审核");
  EXPECT_EQ(dialog.get<forms::CheckBox>("chkFinish").Value(), 0);
  EXPECT_FALSE(dialog.get<forms::DatePicker>("DtpBFactDate").Enabled());
}

}  // namespace
