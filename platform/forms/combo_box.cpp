// The combo box's items and choice.
#include "platform/forms/combo_box.h"

#include "platform/core/error.h"
#include "platform/forms/form.h"

namespace forms {

void ComboBox::AddItem(std::string text, int position) {
  if (position < 0 || position >= ListCount()) {
    items_.push_back(Item{std::move(text), 0});
    newIndex_ = ListCount() - 1;
    return;
  }
  items_.insert(items_.begin() + position, Item{std::move(text), 0});
  newIndex_ = position;
  if (listIndex_ >= position) ++listIndex_;  // the chosen item keeps being chosen
}

void ComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  newIndex_ = -1;
  typed_.clear();
}

const ComboBox::Item& ComboBox::at(int position) const {
  if (position < 0 || position >= ListCount())
    throw plat::Error(381, formName(),
                      "Invalid property array index " + std::to_string(position) + " for '" + displayName() + "'");
  return items_[static_cast<size_t>(position)];
}

ComboBox::Item& ComboBox::at(int position) {
  return const_cast<Item&>(static_cast<const ComboBox*>(this)->at(position));
}

const std::string& ComboBox::List(int position) const { return at(position).text; }
int32_t ComboBox::ItemData(int position) const { return at(position).data; }
void ComboBox::SetItemData(int position, int32_t data) { at(position).data = data; }

void ComboBox::SetListIndex(int position) {
  if (position < -1 || position >= ListCount())
    throw plat::Error(380, formName(), "Invalid property value: list index " + std::to_string(position) +
                                              " for '" + displayName() + "'");
  if (position == listIndex_) return;
  listIndex_ = position;
  typed_.clear();
  if (onClick) onClick();
}

std::string ComboBox::Text() const {
  if (listIndex_ >= 0) return items_[static_cast<size_t>(listIndex_)].text;
  return style_ == Style::DropdownCombo ? typed_ : std::string();
}

void ComboBox::SetText(std::string_view text) {
  for (int i = 0; i < ListCount(); ++i)
    if (items_[static_cast<size_t>(i)].text == text) {
      SetListIndex(i);
      return;
    }
  if (style_ == Style::DropdownList)
    throw plat::Error(383, formName(),
                      "'Text' property is read-only: '" + displayName() + "' has no item '" + std::string(text) + "'");
  listIndex_ = -1;
  typed_ = std::string(text);
}

}  // namespace forms
