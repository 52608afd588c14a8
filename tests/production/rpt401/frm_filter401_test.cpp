// frmFilter401 through the report filter grid: lists, the refused empty summary basis, the keys
// it writes, the defaults of a saved filter and reset.
#include <gtest/gtest.h>

#include "production/common/production_harness.h"
#include "production/rpt401/frm_filter401.h"
#include "rpt401_support.h"
#include "support/dictionary_text.h"

namespace {

using namespace rpt401_test;

class FrmFilter401 : public prodtest::ReportTest {
 protected:
  // Shows the dialog and runs `step` while it is up; returns the dialog's result.
  lumo::DictionaryRef show(const std::function<void(production::frmFilter401&)>& step) {
    fe->onShow("frmFilter401", [&](forms::Form& f) { step(static_cast<production::frmFilter401&>(f)); });
    dialog_ = std::make_shared<production::frmFilter401>();
    dialog_->SetRptID(401);
    dialog_->Show();
    return dialog_->Result();
  }

  std::shared_ptr<production::frmFilter401> dialog_;
};

TEST_F(FrmFilter401, ListsAndTheRefusedEmptyBasis) {
  bool refused = false;
  auto result = show([&](production::frmFilter401& f) {
    auto& basis = f.get<forms::ComboBox>("cmbGroupBy");
    ASSERT_EQ(basis.ListCount(), 2);
    EXPECT_EQ(basis.List(0) + "=" + std::to_string(basis.ItemData(0)), "产品类别=1");
    EXPECT_EQ(basis.List(1) + "=" + std::to_string(basis.ItemData(1)), "部门=2");
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckState").List(1), "未审核");
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckClose").List(0), "已关闭");
    fill(f, Choice{});
    f.get<forms::CheckBox>("chkGroupBy").SetValue(1);
    refused = !grfc::ReportFilter::of(f).Ok();
    basis.SetListIndex(1);
    grfc::ReportFilter::of(f).Ok();
  });
  EXPECT_TRUE(refused);
  ASSERT_EQ(fe->messages().size(), 1u);
  EXPECT_EQ(fe->messages()[0].text, "汇总依据不能为空");
  EXPECT_EQ(fe->messages()[0].title, "Ostrel提示");
  EXPECT_EQ(fe->messages()[0].style, forms::vbInformation);
  EXPECT_EQ(result->Value("OK"), plat::Variant(true));
  EXPECT_EQ(result->Value("SumMode").text(), "2");
}

TEST_F(FrmFilter401, KeysWrittenOnAcceptance) {
  Choice c;
  c.bItem = "A'B", c.eItem = "C", c.bEmp = "E1", c.eEmp = "E2", c.bDept = "D'1", c.eDept = "D2", c.batch = "P'1";
  c.groupBy = 1, c.basis = 1, c.bLevel = "2", c.eLevel = "4", c.onlySum = 1, c.byProduct = 1;
  c.checkState = 0, c.checkClose = 1;
  const auto accepted = [&] {
    return show([&](production::frmFilter401& f) {
      fill(f, c);
      grfc::ReportFilter::of(f).Ok();
    });
  };
  // Typed quotes doubled, levels as doubles, list indexes as 16-bit numbers, the basis as SumField.
  EXPECT_EQ(support::dictionaryText(*accepted()),
            "BDate=\"2025-07-01\"; EDate=\"2026-06-30\"; BEmp=\"E1\"; EEmp=\"E2\"; BItemNumber=\"A''B\"; "
            "EItemNumber=\"C\"; BDept=\"D''1\"; EDept=\"D2\"; BLevel=2#; ELevel=4#; GroupBy=1%; OnlyShowSum=1%; "
            "GroupByListIndex=1%; CheckState=0%; CheckClose=1%; GroupByBatchNo=1%; BBatchNo=\"P''1\"; OK=True; "
            "SumMode=2&; Mode=0%; SumField={FPropID=0%; FSQLColumnName=\"FDeptID\"; FSrcTable=\"\"; "
            "FSrcField=\"\"; FDisplayField=\"\"; FItemClassID=0%}");

  c.basis = 0;
  EXPECT_EQ(support::dictionaryText(*accepted()->Value("SumField").as<lumo::Dictionary>()),
            "FPropID=0%; FSQLColumnName=\"FName\"; FSrcTable=\"\"; FSrcField=\"\"; FDisplayField=\"\"");
  c.groupBy = 0, c.basis = -1;
  auto plain = accepted();
  EXPECT_EQ(plain->Value("SumMode"), plat::Variant(int16_t{0}));
  EXPECT_FALSE(plain->Lookup("SumField"));

  auto cancelled = show([](production::frmFilter401& f) { grfc::ReportFilter::of(f).Cancel(); });
  EXPECT_EQ(cancelled->Value("OK"), plat::Variant(false));
}

TEST_F(FrmFilter401, SavedFilterDefaultsAndReset) {
  show([](production::frmFilter401& f) {
    auto& events = static_cast<grfc::ReportFilterEvents&>(f);
    auto saved = lumo::newDictionary();
    saved->SetValue("BItemNumber", "X");
    events.LoadFilter(saved);
    EXPECT_EQ(f.get<forms::TextBox>("txtItem", 2).Text(), "X");
    EXPECT_EQ(f.get<forms::TextBox>("txtItem", 10).Text(), "");
    EXPECT_EQ(f.get<forms::CheckBox>("chkGroupBy").Value(), 1);
    EXPECT_EQ(f.get<forms::CheckBox>("chkOnlyShowSum").Value(), 1);
    EXPECT_EQ(f.get<forms::CheckBox>("chkGroupByBatchNo").Value(), 0);
    EXPECT_EQ(f.txtlevel(0).Text(), "1");
    EXPECT_EQ(f.txtlevel(1).Text(), "5");
    EXPECT_EQ(f.get<forms::ComboBox>("cmbGroupBy").ListIndex(), 0);
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckState").ListIndex(), 2);
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckClose").ListIndex(), 2);
    EXPECT_EQ(f.get<forms::DatePicker>("DtpBDate").Value(), plat::Date::today());

    f.get<forms::ComboBox>("cmbCheckState").SetListIndex(0);
    events.ResetControls();
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckState").ListIndex(), 2);
    EXPECT_EQ(f.get<forms::CheckBox>("chkGroupBy").Value(), 0);
    EXPECT_EQ(f.get<forms::CheckBox>("chkOnlyShowSum").Value(), 0);
    grfc::ReportFilter::of(f).Cancel();
  });
}

}  // namespace
