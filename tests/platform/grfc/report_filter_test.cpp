// The report filter grid driving a real filter dialog through the scripted front end.
#include <gtest/gtest.h>

#include "platform/com/registry.h"
#include "test_filter_form.h"

namespace {

using grfc_test::TestFilterForm;
using Strings = std::vector<std::string>;

// The base-data service boundary: fixed codes, and what was asked.
struct FakeLookupSource : grfc::LookupSource {
  std::vector<grfc::LookupItem> Codes(int32_t classId, std::string_view condition) override {
    asked.push_back(std::to_string(classId) + "|" + std::string(condition));
    return {{"01.001", "螺栓"}, {"01.002", "螺母"}, {"02.001", ""}};
  }
  Strings asked;
};

class ReportFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { grfc::registerReportFilter(plat::broker()); }
  void TearDown() override {
    for (auto name : {grfc::kReportFilterClass, grfc::kSchemeStoreClass, grfc::kLookupSourceClass})
      plat::broker().Unregister(name);
  }
  // Shows a new dialog whose step is `step`; returns the dialog.
  std::shared_ptr<TestFilterForm> show(std::function<void(TestFilterForm&)> step, bool autoFilter = false) {
    auto form = std::make_shared<TestFilterForm>();
    form->autoFilter = autoFilter;
    if (step) fe->onShow("frmFilterTest", [step](forms::Form& f) { step(static_cast<TestFilterForm&>(f)); });
    form->Show();
    return form;
  }
  static void typeFilter(TestFilterForm& f) {
    f.get<forms::DatePicker>("DtpBDate").SetValue(plat::Date(2024, 1, 1));
    f.get<forms::DatePicker>("DtpEDate").SetValue(plat::Date(2024, 1, 31));
    f.item(0).SetText("A'B");
    f.item(1).SetText("Z");
    f.item(2).SetText("3");
    f.get<forms::CheckBox>("chkFinish").SetValue(1);
  }

  std::shared_ptr<forms::ScriptedFrontEnd> fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope{fe};
};

TEST_F(ReportFilterTest, OkChecksSavesFinishesAndHidesTheDialog) {
  auto form = show([](TestFilterForm& f) {
    typeFilter(f);
    EXPECT_TRUE(f.grid.Ok());
  });
  EXPECT_EQ(form->events, (Strings{"CheckFilter", "SaveFilter", "FilterDone"}));
  EXPECT_EQ(form->result->Value("OK"), plat::Variant(true));
  EXPECT_EQ(form->result->Value("BItemNumber"), plat::Variant("A'B"));
  EXPECT_EQ(form->result, form->grid.GetFilter()) << "the dialog's Result is the grid's filter";
  EXPECT_EQ(form->filterString,
            "起始日期: 2024-01-01 至: 2024-01-31; 产品代码: A'B 至: Z; 业务员代码: 3; 单据状态: 全部; 考虑完工日期");
  EXPECT_TRUE(form->loaded());
  EXPECT_FALSE(form->visible());
  EXPECT_EQ(fe->transcript(), "show frmFilterTest \"过滤\"\n") << "accepted, not closed by the front end";
}

TEST_F(ReportFilterTest, ACheckSeesTheFilterAboutToBeAccepted) {
  auto form = std::make_shared<TestFilterForm>();
  form->peekDuringCheck = true;
  fe->onShow("frmFilterTest", [](forms::Form& f) {
    static_cast<TestFilterForm&>(f).item(0).SetText("P-100");
    static_cast<TestFilterForm&>(f).grid.Ok();
  });
  form->Show();
  EXPECT_EQ(form->checkedItem, "P-100") << "even on the first acceptance";
  EXPECT_EQ(form->events, (Strings{"CheckFilter", "SaveFilter", "SaveFilter", "FilterDone"}));
}

TEST_F(ReportFilterTest, SchemesRoundTripWithKeysValuesAndTypes) {
  show([](TestFilterForm& f) {
    typeFilter(f);
    f.grid.SaveScheme("Monthly");
    f.grid.SaveScheme("月报");
    f.grid.Cancel();
  });
  auto form = show([](TestFilterForm& f) {
    EXPECT_EQ(f.grid.Schemes(), (Strings{"Monthly", "月报"}));
    EXPECT_EQ(f.item(0).Text(), "") << "saving a scheme does not make it the last used";
    f.grid.LoadScheme("MONTHLY");
    EXPECT_EQ(f.grid.CurrentScheme(), "MONTHLY");
    f.grid.DeleteScheme("monthly");
    EXPECT_EQ(f.grid.Schemes(), (Strings{"月报"}));
    try {
      f.grid.LoadScheme("Monthly");
      ADD_FAILURE() << "a deleted scheme loaded";
    } catch (const plat::Error& e) {
      EXPECT_EQ(e.number(), 3265);
      EXPECT_EQ(e.description(), "Filter scheme 'Monthly' of report 400 not found");
    }
    f.grid.Cancel();
  });
  // Read back through keys of other case by the form's LoadFilter.
  EXPECT_EQ(form->item(0).Text(), "A'B");
  EXPECT_EQ(form->get<forms::DatePicker>("DtpBDate").Value(), plat::Date(2024, 1, 1));
  EXPECT_EQ(form->get<forms::CheckBox>("chkFinish").Value(), 1);

  using V = plat::Variant;
  const std::vector<lumo::Dictionary::Entry> expected = {
      {"BDate", V("2024-01-01")},         {"EDate", V(plat::Date(2024, 1, 31))},
      {"BItemNumber", V("A'B")},          {"EItemNumber", V("Z")},
      {"CheckState", V(int16_t{2})},      {"chkFinish", V(int16_t{1})},
      {"Level", V(3.5)},                  {"RptID", V(int32_t{400})},
      {"Finished", V(true)},              {"NoValue", V::null()},
  };
  ASSERT_NE(form->restored, nullptr);
  EXPECT_EQ(form->restored->entries(), expected) << "spelling, order, values and types as saved";
}

TEST_F(ReportFilterTest, AutoFilterAcceptsTheRestoredSchemeByItself) {
  show([](TestFilterForm& f) {
    typeFilter(f);
    f.grid.Ok();
  });
  fe->clearLog();

  auto automatic = show(nullptr, /*autoFilter=*/true);
  EXPECT_EQ(automatic->events, (Strings{"LoadFilter", "CheckFilter", "SaveFilter", "FilterDone"}));
  EXPECT_EQ(automatic->result->Value("OK"), plat::Variant(true));
  EXPECT_EQ(automatic->result->Value("EItemNumber"), plat::Variant("Z"));
  EXPECT_EQ(automatic->grid.CurrentScheme(), grfc::kLastUsedScheme);
  EXPECT_EQ(fe->transcript(), "show frmFilterTest \"过滤\"\n") << "no user interaction, no close";

  auto manual = show([](TestFilterForm& f) {
    EXPECT_EQ(f.item(0).Text(), "A'B") << "the last scheme is restored at load";
    f.grid.Cancel();
  });
  EXPECT_EQ(manual->events, (Strings{"LoadFilter", "FilterDone(cancel)"}));
}

TEST_F(ReportFilterTest, AutoFilterWithoutASchemeWaitsForTheUser) {
  bool stepRan = false;
  auto form = show(
      [&](TestFilterForm& f) {
        stepRan = true;
        f.grid.Ok();
      },
      /*autoFilter=*/true);
  EXPECT_TRUE(stepRan);
  EXPECT_EQ(form->events, (Strings{"CheckFilter", "SaveFilter", "FilterDone"}));
}

TEST_F(ReportFilterTest, LookupPutsThePickedCodeIntoTheBox) {
  auto source = std::make_shared<FakeLookupSource>();
  plat::broker().Register(grfc::kLookupSourceClass, [source] { return source; });
  fe->onShow(grfc::LookupForm::kName, [](forms::Form& f) {
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCode").Text(), "01.001 螺栓") << "the box's code is chosen at the start";
    EXPECT_TRUE(static_cast<grfc::LookupForm&>(f).Choose("01.002"));
  });
  fe->onShow(grfc::LookupForm::kName, [](forms::Form&) {});  // left open: closed, nothing picked
  auto form = show([](TestFilterForm& f) {
    f.item(0).SetText("01.001");
    f.grid.Lookup(f.item(0), false);
    f.grid.Lookup(f.item(2), true);  // not a bill box: still a code lookup, here cancelled
    f.grid.Lookup(f.item(4), false);
    EXPECT_EQ(f.item(4).Text(), "") << "a bill box without a bill lookup changes nothing";
    f.grid.Lookup(f.item(4), true);
    f.grid.Cancel();
  });
  EXPECT_EQ(form->item(0).Text(), "01.002");
  EXPECT_EQ(form->item(2).Text(), "");
  EXPECT_EQ(form->item(4).Text(), "WORK000123") << "filled by the form's own bill lookup";
  EXPECT_EQ(source->asked, (Strings{"4| x2.FErpClsID<>4", "3|"}));
  EXPECT_EQ(fe->transcript(),
            "show frmFilterTest \"过滤\"\n"
            "show frmLookup \"代码查询\"\n"
            "show frmLookup \"代码查询\"\n"
            "close frmLookup\n");
}

TEST_F(ReportFilterTest, MissingServicesAreClearErrorsOnlyWhenUsed) {
  plat::broker().Unregister(grfc::kSchemeStoreClass);
  show([](TestFilterForm& f) {
    try {
      f.grid.Lookup(f.item(2), false);
      ADD_FAILURE() << "a lookup without a lookup source";
    } catch (const plat::Error& e) {
      EXPECT_NE(e.description().find("TAV_GRFC.LookupSource"), std::string::npos) << e.description();
    }
    try {
      f.grid.Schemes();
      ADD_FAILURE() << "schemes without a scheme store";
    } catch (const plat::Error& e) {
      EXPECT_NE(e.description().find("TAV_GRFC.SchemeStore"), std::string::npos) << e.description();
    }
    EXPECT_TRUE(f.grid.Ok()) << "accepting needs no store";
  });
}

TEST_F(ReportFilterTest, TheGridCanBeCreatedByClassName) {
  struct Bare : forms::Form {
    Bare() : Form("frmBare") {}
  } form;
  form.add<forms::HostedControl>("grfFilter").create("tav_grfc.reportfilter");
  EXPECT_EQ(&grfc::ReportFilter::of(form).hostForm()->name(), &form.name());
  try {
    grfc::ReportFilter::of(form, "grfOther");
    FAIL() << "no error for a missing grid";
  } catch (const plat::Error& e) {
    EXPECT_EQ(e.description(), "Control 'grfOther' not found on form 'frmBare'");
  }
}

}  // namespace
