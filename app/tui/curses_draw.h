// Drawing on the curses screen: dialogs, message boxes and the pop-up list (internal to the
// curses front end).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/tui/dialog_layout.h"

namespace app::tui {

// Cells of a UTF-8 code point encoded back from a wide character.
std::string utf8Of(wchar_t ch);
// Removes the last character of a UTF-8 text.
void popLastChar(std::string& text);

// Draws the dialog `caption` with `layout`, the focused widget `focus`, scrolled so that it is
// visible; `scroll` is updated. Ends with the help line.
// `help` is the key line at the bottom.
void drawDialog(const std::string& caption, const DialogLayout& layout, const FocusKey& focus, int& scroll,
                std::string_view help);

// Shows a message box and waits for the answer (the platform's vbOK... numbers).
int runMessageBox(std::string_view text, int style, std::string_view title);

// Lets the user pick one of `items`; typing narrows the list. Returns the index or -1.
int runPickList(const std::vector<std::string>& items, int current, const std::string& title);

}  // namespace app::tui
