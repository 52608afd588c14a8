// The scripted front end: steps per form, forms left open, nesting, message boxes and repaints.
#include <gtest/gtest.h>

#include "platform/core/variant.h"
#include "platform/forms/forms.h"

namespace {

struct Dialog : forms::Form {
  explicit Dialog(std::string name, std::string caption = "过滤") : Form(std::move(name)) {
    SetCaption(std::move(caption));
    add<forms::TextBox>("txtItem", 0);
  }
};

// Shows a nested window from its activation while the bar is up, as a drill-down report does.
struct Progress : forms::Form {
  explicit Progress(int depth) : Form("frmProgBar"), depth_(depth) { add<forms::ProgressBar>("ProgressBar1"); }
  void onActivate() override {
    get<forms::ProgressBar>("ProgressBar1").SetValue(50);
    forms::DoEvents();
    if (depth_ > 0) std::make_shared<Progress>(depth_ - 1)->Show();
    get<forms::ProgressBar>("ProgressBar1").SetValue(100);
    forms::DoEvents();
    Unload();
  }
  int depth_;
};

class ScriptedFrontEndTest : public ::testing::Test {
 protected:
  std::shared_ptr<forms::ScriptedFrontEnd> fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope{fe};
};

TEST_F(ScriptedFrontEndTest, StepsRunPerShowingAndOpenFormsAreClosed) {
  auto dialog = std::make_shared<Dialog>("frmFilter400");
  fe->onShow("FRMFILTER400", [](forms::Form& f) {
    f.get<forms::TextBox>("txtItem", 0).SetText("A");
    f.Hide();
  });
  fe->onShow("frmFilter400", [](forms::Form& f) { f.get<forms::TextBox>("txtItem", 0).SetText("B"); });
  dialog->Show();
  EXPECT_TRUE(dialog->loaded());
  EXPECT_EQ(fe->pendingSteps("frmFilter400"), 1u);
  dialog->Show();  // this step leaves the dialog open
  EXPECT_FALSE(dialog->loaded());
  EXPECT_EQ(dialog->get<forms::TextBox>("txtItem", 0).Text(), "B");
  EXPECT_EQ(fe->transcript(),
            "show frmFilter400 \"过滤\"\n"
            "show frmFilter400 \"过滤\"\n"
            "close frmFilter400\n");
}

TEST_F(ScriptedFrontEndTest, NestedModalFormsRunTheirOwnSteps) {
  auto dialog = std::make_shared<Dialog>("frmFilter406");
  std::string picked;
  fe->onShow("frmFilter406", [&](forms::Form& f) {
    auto list = std::make_shared<Dialog>("frmList", "生产任务单序时簿");
    list->Show();  // a lookup list opened from inside the dialog's step
    picked = list->get<forms::TextBox>("txtItem", 0).Text();
    EXPECT_EQ(fe->modalStack().size(), 1u);
    f.Hide();
  });
  fe->onShow("frmList", [&](forms::Form& f) {
    EXPECT_EQ(fe->modalStack().size(), 2u);
    f.get<forms::TextBox>("txtItem", 0).SetText("WORK000001");
    f.Hide();
  });
  dialog->Show();
  EXPECT_EQ(picked, "WORK000001");
  EXPECT_EQ(fe->transcript(),
            "show frmFilter406 \"过滤\"\n"
            "show frmList \"生产任务单序时簿\"\n");
  EXPECT_TRUE(fe->modalStack().empty());
}

TEST_F(ScriptedFrontEndTest, ProgressWindowsNestFromTheirActivation) {
  std::vector<std::string> painted;
  fe->setDoEventsHook([&] {
    auto* top = fe->modalStack().back();
    painted.push_back(std::to_string(fe->modalStack().size()) + ":" +
                      plat::numberText(top->get<forms::ProgressBar>("ProgressBar1").Value()));
  });
  std::make_shared<Progress>(1)->Show();
  EXPECT_EQ(painted, (std::vector<std::string>{"1:50", "2:50", "2:100", "1:100"}));
  EXPECT_EQ(fe->doEventsCount(), 4);
  EXPECT_EQ(fe->transcript(), "show frmProgBar \"\"\nshow frmProgBar \"\"\n") << "both unloaded themselves";
}

TEST_F(ScriptedFrontEndTest, MessageBoxesTakeQueuedAnswersAndAreLogged) {
  fe->answer(forms::vbNo);
  EXPECT_EQ(forms::MsgBox("继续吗?", forms::vbYesNo + forms::vbQuestion, "Ostrel提示"), forms::vbNo);
  EXPECT_EQ(forms::MsgBox("再来?", forms::vbYesNo, "Ostrel提示"), forms::vbYes) << "unanswered: the first button";
  EXPECT_EQ(forms::MsgBox("汇总依据不能为空", forms::vbInformation, "Ostrel提示"), forms::vbOK);
  EXPECT_EQ(forms::MsgBox("取消?", forms::vbOKCancel, ""), forms::vbOK);
  EXPECT_EQ(fe->transcript(),
            "msgbox \"Ostrel提示\" style=36 answer=7: 继续吗?\n"
            "msgbox \"Ostrel提示\" style=4 answer=6: 再来?\n"
            "msgbox \"Ostrel提示\" style=64 answer=1: 汇总依据不能为空\n"
            "msgbox \"\" style=1 answer=1: 取消?\n");
  EXPECT_EQ(fe->messages().size(), 4u);
}

}  // namespace
