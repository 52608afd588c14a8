#include "frame/report/filter_dialog.h"

#include "frame/host/context.h"
#include "frame/host/settings.h"

namespace frame {

FilterDialog::FilterDialog(std::string name, std::string caption, int32_t rptId)
    : forms::Form(std::move(name)), rptId_(rptId) {
  SetCaption(Msg(caption));
}

void FilterDialog::InitGrid() {
  if (!grid_) grid_ = &grfc::ReportFilter::addTo(*this);
  grid_->SetAutoFilter(AutoFilterFlag() != 0);
  grid_->Init(rptId_);
}

void FilterDialog::onUnload() {}

forms::Label& FilterDialog::addLabel(std::string caption, bool isInline) {
  auto& label = add<forms::Label>("lbl" + std::to_string(controls().size()));
  label.SetCaption(Msg(caption));
  label.setInline(isInline);
  return label;
}

forms::TextBox& FilterDialog::addText(const std::string& label, const std::string& name, int index) {
  addLabel(label);
  return add<forms::TextBox>(name, index);
}

void FilterDialog::addTextRange(const std::string& label, const std::string& name, int first, int second) {
  addLabel(label);
  add<forms::TextBox>(name, first);
  addLabel("至:", true);
  add<forms::TextBox>(name, second);
}

void FilterDialog::addDateRange(const std::string& label, const std::string& first, const std::string& second) {
  addLabel(label);
  add<forms::DatePicker>(first);
  addLabel("至:", true);
  add<forms::DatePicker>(second);
}

forms::ComboBox& FilterDialog::addList(const std::string& label, const std::string& name,
                                       std::initializer_list<const char*> items) {
  addLabel(label);
  auto& box = add<forms::ComboBox>(name);
  for (const char* item : items) box.AddItem(Msg(item));
  return box;
}

forms::ComboBox& FilterDialog::addList(const std::string& label, const std::string& name, const FilterKey& key) {
  addLabel(label);
  auto& box = add<forms::ComboBox>(name);
  fillList(box, key);
  return box;
}

void FilterDialog::fillList(forms::ComboBox& list, const FilterKey& key) {
  list.Clear();
  for (const KeyChoice& choice : key.choices) list.AddItem(Msg(std::string(choice.caption)));
}

forms::CheckBox& FilterDialog::addCheck(const std::string& caption, const std::string& name) {
  auto& box = add<forms::CheckBox>(name);
  box.SetCaption(Msg(caption));
  box.setStartsRow(true);
  return box;
}

}  // namespace frame
