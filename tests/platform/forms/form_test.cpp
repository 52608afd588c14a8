// Forms: finding controls, frames and layout rows, and the load / show / activate / unload life.
#include <gtest/gtest.h>

#include "platform/forms/forms.h"

namespace {

using forms::CheckBox;
using forms::DatePicker;
using forms::Label;
using forms::TextBox;

// A range dialog as the filter dialogs build them.
struct RangeForm : forms::Form {
  RangeForm() : Form("frmRange") {
    SetCaption("过滤");
    beginFrame("fraPeriod", "日期");
    add<Label>("lblBDate").SetCaption("起始日期:");
    add<DatePicker>("DtpBDate");
    add<Label>("lblTo", 0).setInline(true).SetCaption("至:");
    add<DatePicker>("DtpEDate");
    add<CheckBox>("chkFinish").setStartsRow(true);
    endFrame();
    beginFrame("fraItem", "代码");
    add<Label>("lblItem").SetCaption("产品代码:");
    add<TextBox>("txtItem", 0);
    add<Label>("lblTo", 1).setInline(true).SetCaption("至:");
    add<TextBox>("txtItem", 1);
    endFrame();
    add<forms::CommandButton>("cmdOK").setStartsRow(true);
  }
  std::vector<std::string> calls;
  void onLoad() override { calls.push_back("load"); }
  void onActivate() override { calls.push_back("activate"); }
  void onUnload() override { calls.push_back("unload"); }
  void onResize() override { calls.push_back("resize " + std::to_string(Height())); }
};

TEST(Form, FindsControlsAndNamesTheMissingOnes) {
  RangeForm form;
  EXPECT_EQ(&form.get<TextBox>("TXTITEM", 1), form.find("txtItem", 1)) << "names compare without regard to case";
  EXPECT_EQ(form.get<TextBox>("txtItem", 1).displayName(), "txtItem(1)");

  try {
    form.get<TextBox>("txtItem", 7);
    FAIL() << "no error for a missing control";
  } catch (const plat::Error& e) {
    EXPECT_EQ(e.number(), 730);
    EXPECT_EQ(e.description(), "Control 'txtItem(7)' not found on form 'frmRange'");
  }
  try {
    form.get<forms::ComboBox>("chkFinish");
    FAIL() << "no error for a control of another kind";
  } catch (const plat::Error& e) {
    EXPECT_EQ(e.description(), "Control 'chkFinish' on form 'frmRange' is a CheckBox, not a ComboBox");
  }
  EXPECT_THROW(form.add<TextBox>("txtItem", 0), plat::Error) << "a name and index are unique";
}

TEST(Form, LayoutRowsFollowLabelsAndFrames) {
  RangeForm form;
  auto blocks = forms::layoutBlocks(form);
  std::string shown;
  for (const auto& block : blocks) {
    shown += (block.frame ? block.frame->name() : std::string("form")) + ":";
    for (const auto& row : block.rows) {
      shown += " [";
      for (size_t i = 0; i < row.controls.size(); ++i) shown += (i ? " " : "") + row.controls[i]->displayName();
      shown += "]";
    }
    shown += "\n";
  }
  EXPECT_EQ(shown,
            "fraPeriod: [lblBDate DtpBDate lblTo(0) DtpEDate] [chkFinish]\n"
            "fraItem: [lblItem txtItem(0) lblTo(1) txtItem(1)]\n"
            "form: [cmdOK]\n");

  form.get<forms::Frame>("fraItem").SetEnabled(false);
  EXPECT_FALSE(form.get<TextBox>("txtItem", 0).effectiveEnabled()) << "a disabled frame disables its controls";
  EXPECT_TRUE(form.get<TextBox>("txtItem", 0).Enabled()) << "while their own flag stays";
}

TEST(Form, LifecycleRunsEachHandlerAtItsMoment) {
  auto fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope(fe);
  auto form = std::make_shared<RangeForm>();
  form->Load();
  form->Load();
  fe->onShow("frmRange", [](forms::Form& f) {
    EXPECT_TRUE(f.visible());
    EXPECT_THROW(f.Show(), plat::Error) << "a shown form cannot be shown again";
    f.Resize(40, 12);
    f.Hide();
  });
  form->Show();
  EXPECT_TRUE(form->loaded()) << "hiding keeps the form loaded";
  EXPECT_FALSE(form->visible());
  form->Unload();
  form->Unload();
  form->Show();  // loads again; no step: closed as by the close box
  EXPECT_FALSE(form->loaded());
  EXPECT_EQ(form->calls, (std::vector<std::string>{"load", "activate", "resize 12", "unload", "load", "activate",
                                                   "unload"}));
}

// A window that its own activation releases, as a report releases its progress window.
struct SelfReleasing : forms::Form {
  explicit SelfReleasing(std::shared_ptr<forms::Form>& owner) : Form("frmProgBar"), owner_(owner) {
    add<forms::ProgressBar>("ProgressBar1");
  }
  void onActivate() override {
    Unload();
    owner_.reset();  // the last owner lets go while Show is still running
  }
  std::shared_ptr<forms::Form>& owner_;
};

TEST(Form, SurvivesBeingReleasedByItsOwnHandlerWhileShown) {
  auto fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope(fe);
  std::shared_ptr<forms::Form> owner;
  owner = std::make_shared<SelfReleasing>(owner);
  std::weak_ptr<forms::Form> watch = owner;
  owner->Show();
  EXPECT_EQ(owner, nullptr);
  EXPECT_TRUE(watch.expired()) << "released once Show returned";
  EXPECT_EQ(fe->transcript(), "show frmProgBar \"\"\n");
}

}  // namespace
