// Where a form's controls go on a character screen: rows of widgets laid out from the form's own
// control list (frames, rows, labels, boxes, lists, check boxes, pickers, up-downs, buttons and
// the filter grid's actions), and the order in which the focus moves through them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/forms/form.h"

namespace app::tui {

// The filter grid's actions, each drawn as a button.
enum class GridAction { None, Ok, Cancel, Schemes, Reset };

// What holds the focus: a control, or one action of a hosted filter grid.
struct FocusKey {
  const forms::Control* control = nullptr;
  GridAction action = GridAction::None;
  bool operator==(const FocusKey&) const = default;
};

struct Widget {
  FocusKey key;
  int line = 0;   // 0-based line of the dialog's body
  int x = 0;      // 0-based cell
  int width = 0;  // cells
  std::string text;
  bool focusable = false;
  bool enabled = true;
  bool heading = false;  // a frame's caption line
};

struct DialogLayout {
  std::vector<Widget> widgets;
  int lines = 0;
  int width = 0;  // widest line, in cells
  // Focusable widgets in focus order (display order), as indexes into `widgets`.
  std::vector<size_t> focusOrder() const;
  const Widget* find(const FocusKey& key) const;
};

// Texts being typed into date pickers, shown instead of the picker's value until committed.
using EditBuffers = std::map<const forms::Control*, std::string>;

// Lays the visible controls of `form` out within `maxWidth` cells (wrapping long rows).
DialogLayout layoutDialog(const forms::Form& form, const EditBuffers& buffers, int maxWidth);

// The position in the focus order of control `name`(`index`), -1 when it cannot take the focus.
// A script driving the terminal presses Tab that many times from the first field.
int focusPosition(const forms::Form& form, std::string_view name, int index = -1);

// The button texts of the grid's actions, with their keys.
std::string gridActionText(GridAction action);

}  // namespace app::tui
