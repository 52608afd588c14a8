// Writing a form's controls as JSON.
#include "app/web/form_json.h"

#include "app/tui/batch_front_end.h"
#include "frame/services/list_control.h"
#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/status_controls.h"
#include "platform/forms/up_down.h"
#include "platform/grfc/report_filter.h"

namespace app::web {
namespace {

using nlohmann::json;

// The kind's own fields: value, list items, bounds.
void addValue(const forms::Control& control, json& out) {
  using K = forms::ControlKind;
  switch (control.kind()) {
    case K::TextBox: out["value"] = static_cast<const forms::TextBox&>(control).Text(); break;
    case K::CheckBox: out["value"] = static_cast<const forms::CheckBox&>(control).Value(); break;
    case K::DatePicker: out["value"] = static_cast<const forms::DatePicker&>(control).Value().iso(); break;
    case K::ComboBox: {
      const auto& combo = static_cast<const forms::ComboBox&>(control);
      json items = json::array();
      for (int i = 0; i < combo.ListCount(); ++i) items.push_back(combo.List(i));
      out["items"] = std::move(items);
      out["value"] = combo.ListIndex();
      out["text"] = combo.Text();
      out["editable"] = combo.style() == forms::ComboBox::Style::DropdownCombo;
      break;
    }
    case K::UpDown: {
      const auto& updown = static_cast<const forms::UpDown&>(control);
      out["value"] = updown.Value();
      out["min"] = updown.Min();
      out["max"] = updown.Max();
      if (updown.buddy()) out["buddy"] = {{"name", updown.buddy()->name()}, {"index", updown.buddy()->index()}};
      break;
    }
    case K::ProgressBar: {
      const auto& bar = static_cast<const forms::ProgressBar&>(control);
      out["value"] = bar.Max() > bar.Min() ? (bar.Value() - bar.Min()) / (bar.Max() - bar.Min()) : 0.0;
      break;
    }
    case K::Label: out["inline"] = static_cast<const forms::Label&>(control).isInline(); break;
    default: break;
  }
}

json listJson(svc::ListBrowser& list, long first) {
  json columns = json::array();
  for (const svc::ListColumn& c : list.Columns())
    columns.push_back({{"caption", c.caption}, {"width", c.width}, {"numeric", c.numeric}});
  first = std::max(0L, first);
  json rows = json::array();
  for (auto& row : list.Rows(first, kListPageRows)) rows.push_back(std::move(row));
  return {{"columns", std::move(columns)}, {"rows", std::move(rows)},       {"first", first},
          {"rowCount", list.RowCount()},    {"more", list.HasMoreRows()}, {"current", list.CurrentRow()},
          {"search", list.SearchText()}};
}

}  // namespace

json formJson(forms::Form& form, long listFirst) {
  json controls = json::array();
  for (const auto& c : form.controls()) {
    if (c->kind() == forms::ControlKind::Hosted) continue;  // drawn from "grid" and "list"
    json item = {{"name", c->name()},
                 {"index", c->index()},
                 {"kind", std::string(forms::kindName(c->kind()))},
                 {"caption", c->Caption()},
                 {"enabled", c->effectiveEnabled()},
                 {"visible", c->effectiveVisible()},
                 {"row", c->startsRow()}};
    if (c->frame()) item["frame"] = c->frame()->displayName();
    addValue(*c, item);
    controls.push_back(std::move(item));
  }
  json out = {{"name", form.name()}, {"caption", form.Caption()}, {"controls", std::move(controls)}};
  if (grfc::ReportFilter* grid = filterGridOf(form))
    out["grid"] = {{"schemes", grid->Schemes()}, {"current", grid->CurrentScheme()}};
  if (svc::ListBrowser* list = svc::listBrowserOf(form)) out["list"] = listJson(*list, listFirst);
  return out;
}

}  // namespace app::web
