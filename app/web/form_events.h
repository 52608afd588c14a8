// What the page does to a form, as JSON events routed to the headless controls:
//
//   {"control": "txtItem", "index": 2, "set": "01.02"}   text, list index, check value, date, number
//   {"control": "cmdOK", "click": true}                   a button or a check box
//   {"control": "udBLevel", "step": 1}                    an up-down, one step up (-1: down)
//   {"control": "txtItem", "index": 2, "lookup": true}    the code lookup of a box (F7)
//   {"grid": "ok" | "cancel" | "reset" | "load" | "save" | "delete", "scheme": "..."}
//   {"list": "search", "text": "WORK"} | {"list": "page", "first": 40}
//   {"list": "pick", "row": 3} | {"list": "exit"}
//   {"close": true}                                       the window's close box
#pragma once

#include <nlohmann/json.hpp>

namespace forms {
class Form;
}

namespace app::web {

// Applies `event` to `form`; `listFirst` is the first journal row the page shows, moved by
// paging and searching. Raises plat::Error for an event the form cannot take (no such control,
// a date that is no date), and whatever the form's own handlers raise.
void applyFormEvent(forms::Form& form, const nlohmann::json& event, long& listFirst);

}  // namespace app::web
