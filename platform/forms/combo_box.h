// A combo box: a list of items, each a text with a whole-number item data, and the chosen one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/control.h"

namespace forms {

class ComboBox : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::ComboBox;
  enum class Style {
    DropdownList,   // only the items can be chosen (the filter dialogs' lists)
    DropdownCombo,  // the text may also be typed freely
  };

  ComboBox() : Control(kKind) {}

  Style style() const { return style_; }
  void setStyle(Style style) { style_ = style; }

  // Appends an item, or inserts it at `position` (0-based) when that is given.
  void AddItem(std::string text, int position = -1);
  // Removes every item; nothing is chosen afterwards. Raises no event.
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  // 0-based position of the item added last; -1 before any.
  int NewIndex() const { return newIndex_; }
  // REQUIRES: 0 <= position < ListCount(); raises plat::Error 381 otherwise.
  const std::string& List(int position) const;
  int32_t ItemData(int position) const;
  void SetItemData(int position, int32_t data);

  // The chosen item's position, -1 when none.
  int ListIndex() const { return listIndex_; }
  // Chooses an item (-1: none) and raises onClick when the choice changes.
  // A position outside -1..ListCount()-1 raises plat::Error 380.
  void SetListIndex(int position);

  // The chosen item's text; in a drop-down combo, the typed text when nothing is chosen.
  std::string Text() const;
  // Chooses the first item with exactly this text (raising onClick as SetListIndex does).
  // Without such an item a drop-down combo keeps the text with nothing chosen, and a
  // drop-down list raises plat::Error 383.
  void SetText(std::string_view text);

  Handler onClick;

 private:
  struct Item {
    std::string text;
    int32_t data = 0;
  };
  const Item& at(int position) const;
  Item& at(int position);

  Style style_ = Style::DropdownList;
  std::vector<Item> items_;
  int listIndex_ = -1;
  int newIndex_ = -1;
  std::string typed_;
};

}  // namespace forms
