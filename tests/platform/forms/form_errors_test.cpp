// What the dialogs never do on their main paths: refused values and missing controls raise the
// platform's numbered errors naming the control, and a refused or empty state changes nothing.
#include <gtest/gtest.h>

#include <functional>

#include "platform/forms/forms.h"

namespace {

struct Board : forms::Form {
  Board() : Form("frmBoard") {
    auto& combo = add<forms::ComboBox>("cmbCheckState");
    for (const char* item : {"已审核", "未审核", "全部"}) combo.AddItem(item);
    add<forms::CheckBox>("chkFinish");
    add<forms::TextBox>("txtPeriod", 1);
    add<forms::UpDown>("updBPeriod").SetRange(1, 12);
    add<forms::ProgressBar>("ProgressBar1").SetMax(40);
    add<forms::StatusBar>("SBar");
  }
};

TEST(FormErrors, RefusedValuesAndMissingControlsRaiseNumberedErrors) {
  struct Case {
    const char* what;
    std::function<void(Board&)> action;
    long number;              // 0: any number
    std::string description;  // the whole text, or "" to ask only that `named` is in it
    std::string named;        // a text the description must hold ("" holds in any)
  };
  using forms::ComboBox;
  const std::vector<Case> cases = {
      {"list index past the end", [](Board& f) { f.get<ComboBox>("cmbCheckState").SetListIndex(3); }, 380, "",
       "cmbCheckState"},
      {"text not in a drop-down list", [](Board& f) { f.get<ComboBox>("cmbCheckState").SetText("不存在"); }, 383, "",
       "cmbCheckState"},
      {"item data of no item", [](Board& f) { f.get<ComboBox>("cmbCheckState").ItemData(9); }, 381, "",
       "cmbCheckState"},
      {"check box value 3", [](Board& f) { f.get<forms::CheckBox>("chkFinish").SetValue(3); }, 380, "", "chkFinish"},
      {"up-down above its range", [](Board& f) { f.get<forms::UpDown>("updBPeriod").SetValue(13); }, 380, "",
       "updBPeriod"},
      {"up-down range reversed", [](Board& f) { f.get<forms::UpDown>("updBPeriod").SetRange(5, 1); }, 380, "",
       "updBPeriod"},
      {"progress above its maximum", [](Board& f) { f.get<forms::ProgressBar>("ProgressBar1").SetValue(41); }, 380,
       "", "ProgressBar1"},
      {"progress minimum at its maximum", [](Board& f) { f.get<forms::ProgressBar>("ProgressBar1").SetMin(40); },
       380, "", "ProgressBar1"},
      {"status panel that does not exist", [](Board& f) { f.get<forms::StatusBar>("SBar").SetPanelText(2, "x"); },
       35600, "", ""},
      {"missing control", [](Board& f) { f.get<forms::TextBox>("txtPeriod", 7); }, 730,
       "Control 'txtPeriod(7)' not found on form 'frmBoard'", ""},
      {"control of another kind", [](Board& f) { f.get<ComboBox>("chkFinish"); }, 0,
       "Control 'chkFinish' on form 'frmBoard' is a CheckBox, not a ComboBox", ""},
  };
  for (const auto& c : cases) {
    Board form;
    try {
      c.action(form);
      ADD_FAILURE() << "no error: " << c.what;
    } catch (const plat::Error& e) {
      if (c.number != 0) {
        EXPECT_EQ(e.number(), c.number) << c.what;
      }
      if (!c.description.empty()) {
        EXPECT_EQ(e.description(), c.description) << c.what;
      }
      EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
    }
  }
  Board form;
  EXPECT_THROW(form.add<forms::TextBox>("TXTPERIOD", 1), plat::Error) << "a name and index are unique, in any case";
}

TEST(FormErrors, EmptyListsRefusedChoicesAndOutOfRangeStepsChangeNothing) {
  Board form;
  auto& combo = form.get<forms::ComboBox>("cmbCheckState");
  int clicks = 0;
  combo.onClick = [&] { ++clicks; };
  EXPECT_EQ(combo.ListIndex(), -1) << "adding items chooses nothing";
  EXPECT_EQ(combo.Text(), "");
  combo.SetListIndex(1);
  combo.SetListIndex(1);
  EXPECT_EQ(clicks, 1) << "choosing the chosen item again is no change";
  EXPECT_THROW(combo.SetText("不存在"), plat::Error);
  EXPECT_EQ(combo.ListIndex(), 1) << "a refused choice changes nothing";
  combo.AddItem("新", 0);
  EXPECT_EQ(combo.Text(), "未审核") << "an item inserted before the choice keeps the same item chosen";
  EXPECT_EQ(combo.ListIndex(), 2);
  combo.Clear();
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(clicks, 1) << "clearing raises no click";
  EXPECT_THROW(combo.SetListIndex(0), plat::Error) << "an empty list has no first item";

  auto& box = form.get<forms::TextBox>("txtPeriod", 1);
  auto& updown = form.get<forms::UpDown>("updBPeriod");
  updown.SetBuddy(box);
  updown.StepDown();
  EXPECT_EQ(box.Text(), "1") << "kept at the lowest value";
  box.SetText("40");  // typing is not limited; a step brings it back inside
  updown.StepDown();
  EXPECT_EQ(box.Text(), "12");

  auto& bar = form.get<forms::ProgressBar>("ProgressBar1");
  bar.SetValue(30);
  bar.SetMax(20);
  EXPECT_EQ(bar.Value(), 20) << "the value follows a smaller range";
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

TEST(FormErrors, AFormSurvivesBeingReleasedByItsOwnHandlerWhileShown) {
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
