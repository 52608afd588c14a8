// frmFilter400: the keys it writes (order, types, doubled quotes), the actual-finish range that
// follows chkFinish, restoring a scheme and reset.
#include <gtest/gtest.h>

#include "production/rpt400/frm_filter400.h"
#include "production/common/production_harness.h"

namespace {

class FrmFilter400Test : public prodtest::ReportTest {};

std::vector<std::string> KeysAndTypes(const lumo::Dictionary& filter) {
  std::vector<std::string> out;
  for (const auto& [key, value] : filter.entries())
    out.push_back(key + ":" + std::to_string(static_cast<int>(value.type())));
  return out;
}

TEST_F(FrmFilter400Test, WritesItsKeysInOrderWithQuotesDoubled) {
  auto rpt = create("TavShopRpt.Rpt400");
  fe->onShow("frmFilter400", [](forms::Form& f) {
    f.get<forms::TextBox>("txtItem", 2).SetText("A'B");
    f.get<forms::TextBox>("txtItem", 10).SetText("P'1");
    grfc::ReportFilter::of(f).Ok();
  });
  rpt->ShowFilter();
  ASSERT_TRUE(rpt->Ok());
  const std::string text = ":" + std::to_string(static_cast<int>(plat::VarType::Text));
  const std::string i16 = ":" + std::to_string(static_cast<int>(plat::VarType::Integer));
  const std::string boolean = ":" + std::to_string(static_cast<int>(plat::VarType::Boolean));
  // The actual-finish dates are gone while chkFinish is unchecked.
  EXPECT_EQ(KeysAndTypes(*rpt->Filter()),
            (std::vector<std::string>{
                "BDate" + text, "EDate" + text, "BWorkDate" + text, "EWorkDate" + text, "BPlanDate" + text,
                "EPlanDate" + text, "BItemNumber" + text, "EItemNumber" + text, "BOrderBillNo" + text,
                "EOrderBillNo" + text, "BEmp" + text, "EEmp" + text, "BDept" + text, "EDept" + text,
                "BProductBillNo" + text, "EProductBillNo" + text, "DisplayType" + i16, "CheckState" + i16,
                "CheckClose" + i16, "ExecuteState" + i16, "chkFinish" + i16, "BBatchNo" + text, "OK" + boolean,
                "OrderBy" + text}));
  EXPECT_EQ(rpt->Filter()->Value("BItemNumber").text(), "A''B");
  EXPECT_EQ(rpt->Filter()->Value("BBatchNo").text(), "P''1");
  EXPECT_EQ(rpt->Filter()->Value("CheckState"), plat::Variant(int16_t{0}));  // 已审核
  EXPECT_EQ(rpt->Filter()->Value("CheckClose"), plat::Variant(int16_t{2}));  // 全部
  EXPECT_TRUE(plat::Date::parse(rpt->Filter()->Value("BDate").text()).has_value());

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
