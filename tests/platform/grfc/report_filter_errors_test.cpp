// The filter grid's errors, which no report dialog meets on its main path: a scheme that is not
// there, a service that is not registered, a grid that is not on the form.
#include <gtest/gtest.h>

#include <functional>

#include "platform/com/registry.h"
#include "platform/forms/forms.h"
#include "platform/grfc/grfc.h"

namespace {

// The least a dialog needs to host the grid: one code box whose lookup class is 4.
struct SmallFilter : forms::Form, grfc::ReportFilterEvents {
  SmallFilter() : Form("frmFilterTest"), grid(grfc::ReportFilter::addTo(*this)) { add<forms::TextBox>("txtItem", 0); }
  void onLoad() override { grid.Init(400); }
  void GetLookupClass(forms::Control*&, int32_t& classId, std::string&, bool) override { classId = 4; }
  grfc::ReportFilter& grid;
};

std::string errorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const plat::Error& e) {
    return std::to_string(e.number()) + " " + e.description();
  }
  return "no error";
}

class ReportFilterErrors : public ::testing::Test {
 protected:
  void SetUp() override { grfc::registerReportFilter(plat::broker()); }
  void TearDown() override {
    for (auto name : {grfc::kReportFilterClass, grfc::kSchemeStoreClass, grfc::kLookupSourceClass})
      plat::broker().Unregister(name);
  }
  // Shows a dialog running `step` while it is up.
  void show(std::function<void(SmallFilter&)> step) {
    auto form = std::make_shared<SmallFilter>();
    fe->onShow("frmFilterTest", [step](forms::Form& f) { step(static_cast<SmallFilter&>(f)); });
    form->Show();
  }

  std::shared_ptr<forms::ScriptedFrontEnd> fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope{fe};
};

TEST_F(ReportFilterErrors, ASchemeThatIsNotThereIsNamed) {
  show([](SmallFilter& f) {
    f.grid.SaveScheme("Monthly");
    f.grid.DeleteScheme("MONTHLY");
    EXPECT_TRUE(f.grid.Schemes().empty()) << "names compare without regard to case";
    EXPECT_EQ(errorText([&] { f.grid.LoadScheme("Monthly"); }),
              "3265 Filter scheme 'Monthly' of report 400 not found");
    f.grid.DeleteScheme("Monthly");  // deleting an absent scheme is no error
    f.grid.Cancel();
  });
}

TEST_F(ReportFilterErrors, MissingServicesAreErrorsOnlyWhenUsed) {
  plat::broker().Unregister(grfc::kSchemeStoreClass);
  show([](SmallFilter& f) {
    auto& box = f.get<forms::TextBox>("txtItem", 0);
    EXPECT_NE(errorText([&] { f.grid.Lookup(box, false); }).find("TAV_GRFC.LookupSource"), std::string::npos);
    EXPECT_NE(errorText([&] { f.grid.Schemes(); }).find("TAV_GRFC.SchemeStore"), std::string::npos);
    EXPECT_TRUE(f.grid.Ok()) << "accepting needs no store";
  });
}

TEST_F(ReportFilterErrors, AGridThatIsNotOnTheFormIsNamed) {
  struct Bare : forms::Form {
    Bare() : Form("frmBare") {}
  } form;
  form.add<forms::HostedControl>("grfFilter").create("tav_grfc.reportfilter");
  EXPECT_EQ(grfc::ReportFilter::of(form).hostForm(), &form) << "created by its class name, in any case";
  EXPECT_EQ(errorText([&] { grfc::ReportFilter::of(form, "grfOther"); }),
            "730 Control 'grfOther' not found on form 'frmBare'");
}

}  // namespace
