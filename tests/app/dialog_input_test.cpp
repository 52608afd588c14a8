// Input errors in the cost dialogs: the typed numbers are checked before the report sees them,
// the message names the field in Chinese, and at a terminal the dialog stays open with what was
// typed. Resetting a dialog's fields is each dialog's own test (ResetControls).
#include <gtest/gtest.h>

#include "app/catalog.h"
#include "app/exit_codes.h"
#include "app/dialog_input.h"
#include "app/session.h"
#include "app/tui/dialog_layout.h"
#include "frame/report/report.h"
#include "platform/com/registry.h"
#include "platform/forms/controls.h"
#include "platform/forms/scripted_front_end.h"
#include "platform/grfc/report_filter.h"
#include "platform/grfc/report_filter_events.h"
#include "support/demo_company.h"
#include "support/dictionary_text.h"
#include "tmux_support.h"

namespace app {
namespace {

// Runs `edit` on the real cost dialog, then checks what the dialog would hand over.
std::string checkAfter(const char* report, const std::function<void(forms::Form&)>& edit) {
  support::loginDemo();
  registerClasses();
  auto fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope(fe);
  std::string problem = "(dialog not shown)";
  const ReportInfo& info = *findReport(report);
  fe->onShow("frmFilter" + std::to_string(info.number), [&](forms::Form& form) {
    edit(form);
    lumo::DictionaryRef candidate = lumo::newDictionary();
    dynamic_cast<grfc::ReportFilterEvents&>(form).SaveFilter(candidate);
    problem = checkTypedNumbers(info, *candidate);
    grfc::ReportFilter::of(form).Cancel();
  });
  plat::broker().CreateAs<frame::Report>(info.className())->ShowFilter();
  return problem;
}

void setBox(forms::Form& form, const char* name, int index, const char* text) {
  form.get<forms::TextBox>(name, index).SetText(text);
}

// Good values in every number box, then `change`.
std::function<void(forms::Form&)> valid(std::function<void(forms::Form&)> change) {
  return [change](forms::Form& f) {
    const char* periods[] = {"2024", "1", "2024", "3"};
    for (int i = 0; i < 4; ++i) setBox(f, "txtPeriod", i, periods[i]);
    if (f.find("txtlevel", 0)) {
      setBox(f, "txtlevel", 0, "1");
      setBox(f, "txtlevel", 1, "3");
    }
    change(f);
  };
}

TEST(DialogInput, TypedPeriodsAndLevelsAreCheckedWithTheFieldNamed) {
  EXPECT_EQ(checkAfter("499", valid([](forms::Form&) {})), "");
  EXPECT_EQ(checkAfter("498", valid([](forms::Form&) {})), "");
  EXPECT_EQ(checkAfter("499", valid([](forms::Form& f) { setBox(f, "txtPeriod", 2, " "); })),
            "截止年份不能为空，请输入 1970 到 9999 之间的整数。");
  EXPECT_EQ(checkAfter("498", valid([](forms::Form& f) { setBox(f, "txtPeriod", 1, "13"); })),
            "起始期间「13」不对，请输入 1 到 12 之间的整数。");
  EXPECT_EQ(checkAfter("498", valid([](forms::Form& f) { setBox(f, "txtPeriod", 0, "二〇二四"); })),
            "起始年份「二〇二四」不对，请输入 1970 到 9999 之间的整数。");
  EXPECT_EQ(checkAfter("499", valid([](forms::Form& f) { setBox(f, "txtlevel", 1, "x"); })),
            "截止类别级次「x」不对，请输入 1 到 5 之间的整数。");
}

TEST(DialogInput, BlankNumberFieldsOpenWithTheirDefaults) {
  const ReportInfo& info = *findReport("499");
  auto opened = lumo::newDictionary();
  for (const char* key : {"BYear", "BPeriod", "EYear", "EPeriod", "BLevel"}) opened->SetValue(key, "");
  opened->SetValue("ELevel", "4");
  opened->SetValue("BItemNumber", "");
  int asked = 0;
  const lumo::DictionaryRef filled = fillBlankNumbers(info, *opened, [&] {
    ++asked;
    return AccountingPeriod{2026, 11};
  });
  ASSERT_TRUE(filled);
  EXPECT_EQ(asked, 1);
  // ELevel was typed and is kept; BItemNumber is no number and is left alone.
  EXPECT_EQ(support::dictionaryText(*filled),
            "BYear=\"2026\"; BPeriod=\"1\"; EYear=\"2026\"; EPeriod=\"11\"; BLevel=\"1\"; ELevel=\"4\"; "
            "BItemNumber=\"\"");
  EXPECT_EQ(checkTypedNumbers(info, *filled), "");
  // Nothing blank: nothing to load, and the current period is not asked for.
  EXPECT_FALSE(fillBlankNumbers(info, *filled, [&] {
    ++asked;
    return AccountingPeriod{};
  }));
  EXPECT_EQ(asked, 1);
}

TEST(DialogInput, ALongCodeShowsWholeInItsBox) {
  std::string shown;
  checkAfter("498", [&](forms::Form& form) {
    setBox(form, "txtItem", 0, "02.02.02.02.0001");
    const tui::DialogLayout layout = tui::layoutDialog(form, {}, 150);
    const forms::Control* box = &form.get<forms::TextBox>("txtItem", 0);
    if (const tui::Widget* w = layout.find(tui::FocusKey{box, tui::GridAction::None})) shown = w->text;
  });
  EXPECT_EQ(shown, "[02.02.02.02.0001 ]");
}

TEST(DialogInput, ABlankPeriodAtTheTerminalKeepsTheDialogOpenUntilFixed) {
  if (!apptest::Tmux::available()) GTEST_SKIP() << "tmux is not installed";
  const int firstBox = apptest::focusPositions("499", {{"txtPeriod", 0}})[0];
  ASSERT_GE(firstBox, 0);

  apptest::TempDir dir("dialoginput");
  std::filesystem::copy_file(support::demoDatabase(), dir.path / "demo.db");
  apptest::Tmux t(dir.path, "input");
  t.start("'" + apptest::programPath().string() + "' run 499 --db demo.db --dialog 2> err.txt");
  ASSERT_TRUE(t.waitFor("确定 F10")) << t.screen();
  t.keys(apptest::tabs(firstBox));
  t.keys("C-u");
  t.keys("F10");
  ASSERT_TRUE(t.waitFor("起始年份不能为空")) << t.screen();
  t.keys("Enter");
  ASSERT_TRUE(t.waitGone("起始年份不能为空")) << t.screen();
  EXPECT_NE(t.screen().find("确定 F10"), std::string::npos) << t.screen();
  // A year outside the company's calendar is refused by the dialog too, not after it closed.
  t.type("1970");
  t.keys("F10");
  ASSERT_TRUE(t.waitFor("会计期间 1970/")) << t.screen();
  EXPECT_NE(t.screen().find("不能查询"), std::string::npos) << t.screen();
  t.keys("Enter");
  ASSERT_TRUE(t.waitGone("不能查询")) << t.screen();
  // The box still has the focus: typing a year there lets the dialog accept.
  const AccountingPeriod current = currentPeriod(login(LoginOptions{support::demoDatabase(), "administrator"}));
  t.keys("C-u");
  t.type(std::to_string(current.year));
  t.keys("F10");
  ASSERT_TRUE(t.waitFor("第 ")) << t.screen() << apptest::slurp(dir.path / "err.txt");
  EXPECT_NE(t.screen().find("产品成本综合表"), std::string::npos) << t.screen();
  t.keys("q");
  EXPECT_EQ(t.waitExit(), kExitOk) << apptest::slurp(dir.path / "err.txt");
}

}  // namespace
}  // namespace app
