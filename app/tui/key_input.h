// Reading keys on the curses screen so that an escape sequence is never taken for Esc: the
// sequences terminals send for Home and End that the terminal description lacks are taught to
// curses, and any other sequence curses does not know is swallowed whole.
#pragma once

#include <cwchar>

namespace app::tui {

// Teaches the current screen the alternative Home/End/Delete sequences. Call once per screen.
void defineExtraKeys();

// get_wch, except that a lone Esc comes back as 27 only when no sequence follows it; an unknown
// sequence comes back as KEY_CODE_YES with the key 0, which no handler acts on.
int readKey(wint_t& key);

}  // namespace app::tui
