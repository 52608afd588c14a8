// The terminal's window for the document journal list control: the journal as a scrollable
// list with incremental search on the bill number, Enter to pick, Esc to leave.
#pragma once

#include "frame/services/list_control.h"
#include "platform/forms/form.h"

namespace app::tui {

// Runs the modal list window `form` (the list selection form) whose hosted journal is `list`,
// on the curses screen the caller has started: activates the form, which may close it at once
// (a journal with nothing to show), and returns when the form is hidden or unloaded.
// Keys: ↑ ↓ PgUp PgDn Home End move; typed characters narrow the list to the bills whose
// number contains them, Backspace widens it again; Enter picks the row, Esc leaves.
void runListView(forms::Form& form, svc::ListBrowser& list);

}  // namespace app::tui
