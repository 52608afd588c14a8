// A headless form as the page draws it: its controls in display order with their kind, caption,
// state and value, the filter grid's schemes when it hosts one, and a page of a hosted journal
// list. The page renders any form from this alone; no dialog is described twice.
//
//   {"name": "frmFilter401", "caption": "过滤", "grid": {"schemes": [...], "current": "..."},
//    "controls": [{"name": "txtItem", "index": 0, "kind": "TextBox", "caption": "",
//                  "enabled": true, "visible": true, "row": false, "frame": "Frame1",
//                  "value": "01.02"}, ...],
//    "list": {"title": "...", "columns": [...], "rows": [[...]], "first": 0, "rowCount": 100,
//             "more": true, "current": 0, "search": ""}}
#pragma once

#include <nlohmann/json.hpp>

namespace forms {
class Form;
}

namespace app::web {

// Rows of a journal list the page shows at a time.
inline constexpr long kListPageRows = 20;

// `listFirst`: the first journal row of the page shown when the form hosts a journal list.
nlohmann::json formJson(forms::Form& form, long listFirst);

}  // namespace app::web
