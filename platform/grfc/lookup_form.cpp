// The code picking window of the report filter grid.
#include "platform/grfc/lookup_form.h"

namespace grfc {

LookupForm::LookupForm(std::vector<LookupItem> items, std::string_view current)
    : forms::Form(std::string(kName)), items_(std::move(items)) {
  SetCaption("代码查询");
  add<forms::Label>("lblCode").SetCaption("代码:");
  auto& list = add<forms::ComboBox>("cmbCode");
  for (size_t i = 0; i < items_.size(); ++i) {
    const LookupItem& item = items_[i];
    list.AddItem(item.name.empty() ? item.number : item.number + " " + item.name);
    list.SetItemData(list.NewIndex(), static_cast<int32_t>(i));
    if (list.ListIndex() < 0 && !current.empty() && item.number == current) list.SetListIndex(list.NewIndex());
  }

  auto& ok = add<forms::CommandButton>("cmdOK");
  ok.SetCaption("确定");
  ok.setStartsRow(true);
  ok.onClick = [this, &list] {
    if (list.ListIndex() < 0) return;  // nothing chosen: OK does nothing
    chosen_ = items_[static_cast<size_t>(list.ItemData(list.ListIndex()))].number;
    Hide();
  };
  auto& cancel = add<forms::CommandButton>("cmdCancel");
  cancel.SetCaption("取消");
  cancel.onClick = [this] {
    chosen_.reset();
    Hide();
  };
}

bool LookupForm::Choose(std::string_view number) {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].number == number) {
      get<forms::ComboBox>("cmbCode").SetListIndex(static_cast<int>(i));
      get<forms::CommandButton>("cmdOK").Click();
      return true;
    }
  return false;
}

}  // namespace grfc
