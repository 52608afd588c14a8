// Routing the page's events to the controls.
#include "app/web/form_events.h"

#include "app/tui/batch_front_end.h"
#include "app/web/form_json.h"
#include "frame/services/list_control.h"
#include "platform/core/date.h"
#include "platform/core/error.h"
#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/up_down.h"
#include "platform/grfc/report_filter.h"

namespace app::web {
namespace {

using nlohmann::json;
constexpr std::string_view kSource = "tavshoprpt serve";

plat::Error badEvent(const std::string& what) { return plat::Error(5, std::string(kSource), what); }

std::string textOf(const json& value) { return value.is_string() ? value.get<std::string>() : value.dump(); }

int intOf(const json& value) {
  if (value.is_number_integer()) return value.get<int>();
  if (value.is_string()) {
    const std::string text = value.get<std::string>();
    size_t used = 0;
    try {
      const int n = std::stoi(text, &used);
      if (used == text.size()) return n;
    } catch (const std::exception&) {
    }
  }
  throw badEvent("不是整数：" + textOf(value));
}

void setValue(forms::Control& control, const json& value) {
  using K = forms::ControlKind;
  switch (control.kind()) {
    case K::TextBox: static_cast<forms::TextBox&>(control).SetText(textOf(value)); return;
    case K::CheckBox: static_cast<forms::CheckBox&>(control).SetValue(static_cast<int16_t>(intOf(value))); return;
    case K::ComboBox: {
      auto& combo = static_cast<forms::ComboBox&>(control);
      if (value.is_string())
        combo.SetText(value.get<std::string>());
      else
        combo.SetListIndex(intOf(value));
      return;
    }
    case K::DatePicker: {
      const std::string text = textOf(value);
      const auto date = plat::Date::parse(text);
      if (!date) throw badEvent("日期格式应为 YYYY-MM-DD：" + text);
      static_cast<forms::DatePicker&>(control).SetValue(*date);
      return;
    }
    case K::UpDown: static_cast<forms::UpDown&>(control).SetValue(intOf(value)); return;
    default: throw badEvent(control.displayName() + " takes no value");
  }
}

void gridEvent(forms::Form& form, const json& event) {
  grfc::ReportFilter* grid = filterGridOf(form);
  if (!grid) throw badEvent(form.name() + " has no filter grid");
  const std::string action = event.at("grid").get<std::string>();
  const std::string scheme = event.value("scheme", std::string());
  if (action == "ok") grid->Ok();
  else if (action == "cancel") grid->Cancel();
  else if (action == "reset") grid->Reset();
  else if (action == "load") grid->LoadScheme(scheme);
  else if (action == "save") grid->SaveScheme(scheme);
  else if (action == "delete") grid->DeleteScheme(scheme);
  else throw badEvent("unknown grid action " + action);
}

void listEvent(forms::Form& form, const json& event, long& first) {
  svc::ListBrowser* list = svc::listBrowserOf(form);
  if (!list) throw badEvent(form.name() + " hosts no journal list");
  const std::string action = event.at("list").get<std::string>();
  if (action == "search") {
    list->Search(event.value("text", std::string()));
    first = 0;
  } else if (action == "page") {
    first = std::max(0L, event.value("first", 0L));
    list->MoveTo(first);  // reads the pages up to there, so that "more" tells the truth
  } else if (action == "pick") {
    list->Select(event.at("row").get<long>());
    list->Confirm();
  } else if (action == "exit") {
    list->Exit();
  } else {
    throw badEvent("unknown list action " + action);
  }
}

}  // namespace

void applyFormEvent(forms::Form& form, const json& event, long& listFirst) {
  if (!event.is_object()) throw badEvent("an event is a JSON object");
  if (event.contains("grid")) return gridEvent(form, event);
  if (event.contains("list")) return listEvent(form, event, listFirst);
  if (event.value("close", false)) {
    if (grfc::ReportFilter* grid = filterGridOf(form)) grid->Cancel();
    if (form.visible()) form.Unload();
    return;
  }
  if (!event.contains("control")) throw badEvent("the event names no control");
  forms::Control* control = form.find(event.at("control").get<std::string>(), event.value("index", -1));
  if (!control) throw badEvent(form.name() + " has no control " + event.at("control").get<std::string>());
  if (!control->effectiveEnabled() || !control->effectiveVisible())
    throw badEvent(control->displayName() + " cannot be used now");
  if (event.contains("set")) return setValue(*control, event.at("set"));
  if (event.contains("step")) {
    if (control->kind() != forms::ControlKind::UpDown) throw badEvent(control->displayName() + " does not step");
    auto& updown = static_cast<forms::UpDown&>(*control);
    if (event.at("step").get<int>() >= 0) updown.StepUp();
    else updown.StepDown();
    return;
  }
  if (event.value("lookup", false)) {
    grfc::ReportFilter* grid = filterGridOf(form);
    if (!grid) throw badEvent(form.name() + " has no code lookups");
    return grid->Lookup(*control, true);
  }
  if (event.value("click", false)) {
    if (control->kind() == forms::ControlKind::CommandButton) return static_cast<forms::CommandButton&>(*control).Click();
    if (control->kind() == forms::ControlKind::CheckBox) return static_cast<forms::CheckBox&>(*control).Click();
    throw badEvent(control->displayName() + " cannot be clicked");
  }
  throw badEvent("the event does nothing to " + control->displayName());
}

}  // namespace app::web
