// Control values and events: each change raises its event once, bad values raise the
// platform's errors naming the control.
#include <gtest/gtest.h>

#include "platform/forms/forms.h"

namespace {

struct Board : forms::Form {
  Board() : Form("frmBoard") {}
};

long errorNumber(const std::function<void()>& f, std::string* description = nullptr) {
  try {
    f();
  } catch (const plat::Error& e) {
    if (description) *description = e.description();
    return e.number();
  }
  return 0;
}

TEST(Controls, ComboBoxRaisesClickOncePerChangeOfChoice) {
  Board form;
  auto& combo = form.add<forms::ComboBox>("cmbCheckState");
  int clicks = 0;
  combo.onClick = [&] { ++clicks; };
  for (const char* item : {"已审核", "未审核", "全部"}) combo.AddItem(item);
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(clicks, 0) << "adding items chooses nothing";

  combo.SetListIndex(2);
  combo.SetListIndex(2);
  EXPECT_EQ(clicks, 1) << "choosing the chosen item again is no change";
  EXPECT_EQ(combo.Text(), "全部");

  combo.SetText("未审核");
  EXPECT_EQ(combo.ListIndex(), 1);
  EXPECT_EQ(clicks, 2);

  combo.AddItem("新", 0);  // inserted before the choice: the same item stays chosen
  EXPECT_EQ(combo.ListIndex(), 2);
  EXPECT_EQ(combo.Text(), "未审核");
  EXPECT_EQ(combo.NewIndex(), 0);
  EXPECT_EQ(clicks, 2);

  std::string why;
  EXPECT_EQ(errorNumber([&] { combo.SetListIndex(4); }, &why), 380);
  EXPECT_NE(why.find("cmbCheckState"), std::string::npos) << why;
  EXPECT_EQ(errorNumber([&] { combo.SetText("不存在"); }), 383) << "a drop-down list takes only its items";
  EXPECT_EQ(errorNumber([&] { combo.ItemData(9); }), 381);
  EXPECT_EQ(combo.ListIndex(), 2) << "a refused choice changes nothing";

  combo.Clear();
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(clicks, 2) << "clearing raises no click";
}

TEST(Controls, ComboBoxItemDataAndTypedText) {
  Board form;
  auto& combo = form.add<forms::ComboBox>("cmbGroupBy");
  combo.AddItem("产品类别");
  combo.SetItemData(combo.NewIndex(), 1);
  combo.AddItem("部门");
  combo.SetItemData(combo.NewIndex(), 2);
  combo.SetText("部门");
  EXPECT_EQ(combo.ItemData(combo.ListIndex()), 2);

  combo.setStyle(forms::ComboBox::Style::DropdownCombo);
  combo.SetText("自由文字");
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.Text(), "自由文字");
}

TEST(Controls, CheckBoxTextBoxAndDatePickerRaiseOncePerChange) {
  Board form;
  auto& check = form.add<forms::CheckBox>("chkFinish");
  auto& text = form.add<forms::TextBox>("txtItem", 0);
  auto& date = form.add<forms::DatePicker>("DtpBDate");
  int clicks = 0, changes = 0, dateChanges = 0;
  check.onClick = [&] { ++clicks; };
  text.onChange = [&] { ++changes; };
  date.onChange = [&] { ++dateChanges; };

  check.SetValue(0);
  check.SetValue(1);
  check.SetValue(1);
  check.Click();  // a user's click unchecks
  EXPECT_EQ(check.Value(), 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(errorNumber([&] { check.SetValue(3); }), 380);

  text.SetText("A'B");
  text.SetText("A'B");
  EXPECT_EQ(changes, 1);

  EXPECT_EQ(date.Value(), plat::Date::today()) << "a picker shows today until set";
  date.SetValue(plat::Date(2024, 5, 31));
  date.SetValue(plat::Date(2024, 5, 31));
  EXPECT_EQ(dateChanges, 1);
}

TEST(Controls, UpDownStepsItsBuddyWithinBounds) {
  Board form;
  auto& box = form.add<forms::TextBox>("txtPeriod", 1);
  auto& ud = form.add<forms::UpDown>("updBPeriod");
  ud.SetRange(1, 12);
  ud.SetBuddy(box);
  EXPECT_EQ(box.Text(), "") << "the buddy keeps its own text until a step";
  ud.StepDown();
  EXPECT_EQ(box.Text(), "1") << "kept at the lowest value";
  box.SetText("11");  // typed
  ud.StepUp();
  ud.StepUp();
  EXPECT_EQ(box.Text(), "12");
  box.SetText("40");  // typing is not limited; a step brings it back inside
  ud.StepDown();
  EXPECT_EQ(box.Text(), "12");
  EXPECT_EQ(ud.Value(), 12);
  EXPECT_EQ(errorNumber([&] { ud.SetValue(13); }), 380);
  EXPECT_EQ(errorNumber([&] { ud.SetRange(5, 1); }), 380);
}

TEST(Controls, ProgressBarAndStatusBarRanges) {
  Board form;
  auto& bar = form.add<forms::ProgressBar>("ProgressBar1");
  bar.SetValue(60);
  bar.SetMax(40);  // the value follows the smaller range
  EXPECT_EQ(bar.Value(), 40);
  EXPECT_EQ(errorNumber([&] { bar.SetValue(41); }), 380);
  EXPECT_EQ(errorNumber([&] { bar.SetMin(40); }), 380);

  auto& status = form.add<forms::StatusBar>("SBar");
  status.SetPanelText(1, "就绪");
  EXPECT_EQ(status.PanelText(1), "就绪");
  EXPECT_EQ(errorNumber([&] { status.SetPanelText(2, "x"); }), 35600);
}

}  // namespace
