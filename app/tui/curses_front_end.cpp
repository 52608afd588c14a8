// The curses front end's modal loop and key handling.
#define NCURSES_WIDECHAR 1
#include "app/tui/curses_front_end.h"

#include <curses.h>
#include <unistd.h>

#include <cstdlib>

#include "app/tui/batch_front_end.h"
#include "app/tui/curses_draw.h"
#include "app/tui/key_input.h"
#include "app/tui/dialog_layout.h"
#include "app/tui/list_view.h"
#include "app/tui/scheme_form.h"
#include "platform/core/date.h"
#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/up_down.h"
#include "platform/grfc/report_filter.h"
#include "platform/grfc/report_filter_events.h"

namespace app::tui {

struct CursesFrontEnd::Dialog {
  forms::Form& form;
  FocusKey focus;
  EditBuffers buffers;  // date pickers being typed into
  int scroll = 0;
  DialogLayout layout;
};

namespace {

constexpr const char* kTitle = "Ostrel提示";

SCREEN* screenOf(void* p) { return static_cast<SCREEN*>(p); }

bool isEnterKey(int status, wint_t key) {
  return (status == OK && (key == L'\n' || key == L'\r')) || (status == KEY_CODE_YES && key == KEY_ENTER);
}

}  // namespace

CursesFrontEnd::CursesFrontEnd(ProgressLine& progress) : progress_(progress) {}

CursesFrontEnd::~CursesFrontEnd() {
  if (screen_) {
    set_term(screenOf(screen_));
    if (active_) endwin();
    delscreen(screenOf(screen_));
  }
  if (ttyIn_) std::fclose(ttyIn_);
  if (ttyOut_) std::fclose(ttyOut_);
}

bool CursesFrontEnd::available() {
  const char* term = std::getenv("TERM");
  if (!term || !*term || std::string_view(term) == "dumb") return false;
  std::FILE* tty = std::fopen("/dev/tty", "r+");
  if (!tty) return false;
  std::fclose(tty);
  return true;
}

void CursesFrontEnd::start() {
  if (active_) return;
  if (!screen_) {
    ttyOut_ = std::fopen("/dev/tty", "w");
    ttyIn_ = std::fopen("/dev/tty", "r");
    if (!ttyOut_ || !ttyIn_) throw plat::Error(5, "tavshoprpt", "cannot open the terminal /dev/tty");
    SCREEN* screen = newterm(nullptr, ttyOut_, ttyIn_);
    if (!screen) throw plat::Error(5, "tavshoprpt", "the terminal type is not known to curses (TERM)");
    screen_ = screen;
    set_term(screen);
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    defineExtraKeys();
    curs_set(0);
  } else {
    set_term(screenOf(screen_));
    reset_prog_mode();
  }
  active_ = true;
  clearok(stdscr, TRUE);
}

void CursesFrontEnd::hold() {
  ++holds_;
  start();
}

void CursesFrontEnd::release() {
  if (holds_ > 0) --holds_;
  if (holds_ == 0 && dialogs_.empty()) suspend();
}

void CursesFrontEnd::resume() { start(); }

void CursesFrontEnd::suspend() {
  if (!active_) return;
  endwin();
  active_ = false;
}

template <class F>
void CursesFrontEnd::guarded(F&& action) {
  try {
    action();
  } catch (const plat::Error& e) {
    msgBox(e.description(), forms::vbExclamation, kTitle);
  } catch (const std::exception& e) {
    msgBox(e.what(), forms::vbExclamation, kTitle);
  }
}

void CursesFrontEnd::runModal(forms::Form& form) {
  if (isProgressWindow(form)) {
    const bool wasActive = active_;
    suspend();
    runProgressWindow(form, progress_);
    if (wasActive) start();
    return;
  }
  if (svc::ListBrowser* list = svc::listBrowserOf(form)) {
    start();
    runListView(form, *list);
    if (dialogs_.empty() && holds_ == 0) suspend();
    return;
  }
  runDialog(form);
}

void CursesFrontEnd::runDialog(forms::Form& form) {
  Dialog dialog{form, {}, {}, 0, {}};
  dialogs_.push_back(&dialog);
  struct Pop {
    CursesFrontEnd& fe;
    ~Pop() {
      fe.dialogs_.pop_back();
      if (fe.dialogs_.empty() && fe.holds_ == 0) fe.suspend();
    }
  } pop{*this};
  start();
  if (auto* events = dynamic_cast<grfc::ReportFilterEvents*>(&form); events && filterGridOf(form)) {
    if (preset_) {
      lumo::DictionaryRef values = std::move(preset_);
      guarded([&] { events->LoadFilter(values); });
    } else if (fill_) {
      guarded([&] {
        lumo::DictionaryRef opened = lumo::newDictionary();
        events->SaveFilter(opened);
        if (lumo::DictionaryRef filled = opened ? fill_(*opened) : nullptr) events->LoadFilter(filled);
      });
    }
  }
  form.Activate();
  while (form.visible()) {
    dialog.layout = layoutDialog(form, dialog.buffers, COLS - 2);
    const std::vector<size_t> order = dialog.layout.focusOrder();
    if (!order.empty() && !dialog.layout.find(dialog.focus)) dialog.focus = dialog.layout.widgets[order.front()].key;
    if (dialog.layout.find(dialog.focus) && !dialog.layout.find(dialog.focus)->focusable && !order.empty())
      dialog.focus = dialog.layout.widgets[order.front()].key;
    drawDialog(form.Caption().empty() ? form.name() : form.Caption(), dialog.layout, dialog.focus, dialog.scroll,
               filterGridOf(form) ? "Tab/↓ 下一项  ↑ 上一项  空格 选择  ←→ 切换  F7 代码查询  F3 方案  F5 重置  F10 确定  Esc 取消"
                                  : "Tab/↓ 下一项  ↑ 上一项  空格 选择  ←→ 切换  Enter 按下按钮  F10 确定  Esc 取消");
    wint_t key = 0;
    const int status = readKey(key);
    if (status == ERR) continue;
    handleKey(dialog, status, key);
  }
}

namespace {

// A typed date: YYYY-MM-DD, YYYY/M/D or the eight digits YYYYMMDD.
std::optional<plat::Date> typedDate(const std::string& text) {
  if (text.size() == 8 && text.find_first_not_of("0123456789") == std::string::npos)
    return plat::Date::parse(text.substr(0, 4) + "-" + text.substr(4, 2) + "-" + text.substr(6, 2));
  return plat::Date::parse(text);
}

// Commits a date picker's typed text; false (with the text kept) when it is no date.
bool commitDate(CursesFrontEnd::Dialog& d, forms::DatePicker& picker) {
  auto it = d.buffers.find(&picker);
  if (it == d.buffers.end()) return true;
  auto date = typedDate(it->second);
  if (!date) return false;
  d.buffers.erase(it);
  picker.SetValue(*date);
  return true;
}

void moveFocus(CursesFrontEnd::Dialog& d, int step) {
  const std::vector<size_t> order = d.layout.focusOrder();
  if (order.empty()) return;
  const int count = static_cast<int>(order.size());
  int at = 0;
  for (int i = 0; i < count; ++i)
    if (d.layout.widgets[order[static_cast<size_t>(i)]].key == d.focus) at = i;
  d.focus = d.layout.widgets[order[static_cast<size_t>(((at + step) % count + count) % count)]].key;
}

}  // namespace

void CursesFrontEnd::handleKey(Dialog& d, int status, wint_t key) {
  forms::Form& form = d.form;
  auto* control = const_cast<forms::Control*>(d.focus.control);
  grfc::ReportFilter* grid = filterGridOf(form);
  const bool function = status == KEY_CODE_YES;
  const auto isChar = [&](wint_t c) { return status == OK && key == c; };

  // Leaving a date picker commits what was typed; a text that is no date keeps the focus.
  const auto leaveDate = [&]() -> bool {
    if (!control || control->kind() != forms::ControlKind::DatePicker) return true;
    if (commitDate(d, static_cast<forms::DatePicker&>(*control))) return true;
    msgBox("日期格式应为 YYYY-MM-DD：" + d.buffers[control], forms::vbExclamation, kTitle);
    return false;
  };
  const auto commitAllDates = [&]() -> bool {
    for (auto it = d.buffers.begin(); it != d.buffers.end();) {
      auto* picker = static_cast<forms::DatePicker*>(const_cast<forms::Control*>(it->first));
      auto date = typedDate(it->second);
      if (!date) {
        d.focus = FocusKey{picker, GridAction::None};
        msgBox("日期格式应为 YYYY-MM-DD：" + it->second, forms::vbExclamation, kTitle);
        return false;
      }
      it = d.buffers.erase(it);
      picker->SetValue(*date);
    }
    return true;
  };
  const auto accept = [&] {
    if (!commitAllDates()) return;
    // A form without a filter grid is accepted by its OK button.
    if (!grid) {
      if (auto* ok = dynamic_cast<forms::CommandButton*>(form.find("cmdOK"))) guarded([&] { ok->Click(); });
      return;
    }
    auto* events = dynamic_cast<grfc::ReportFilterEvents*>(&form);
    if (check_ && events) {
      // What the dialog would hand over, checked before the dialog's own checks see it.
      std::string problem;
      guarded([&] {
        lumo::DictionaryRef candidate = lumo::newDictionary();
        events->SaveFilter(candidate);
        if (candidate) problem = check_(*candidate);
      });
      if (!problem.empty()) {
        msgBox(problem, forms::vbExclamation, kTitle);
        return;
      }
    }
    guarded([&] { grid->Ok(); });
  };
  // Every field back to what the dialog shows for a filter that sets nothing, then the
  // dialog's own reset on top.
  const auto resetAll = [&] {
    d.buffers.clear();
    auto* events = dynamic_cast<grfc::ReportFilterEvents*>(&form);
    guarded([&] {
      if (events) {
        lumo::DictionaryRef none = lumo::newDictionary();
        events->LoadFilter(none);
      }
      grid->Reset();
    });
  };
  const auto cancel = [&] {
    d.buffers.clear();
    if (grid)
      guarded([&] { grid->Cancel(); });
    else if (auto* button = dynamic_cast<forms::CommandButton*>(form.find("cmdCancel")))
      guarded([&] { button->Click(); });
    else
      form.Hide();
  };
  const auto gridAction = [&](GridAction action) {
    switch (action) {
      case GridAction::Ok: accept(); break;
      case GridAction::Cancel: cancel(); break;
      case GridAction::Reset:
        if (grid) resetAll();
        break;
      case GridAction::Schemes:
        if (grid && commitAllDates())
          guarded([&] {
            auto schemes = std::make_shared<SchemeForm>(*grid);
            schemes->Show();
            schemes->Unload();
          });
        break;
      case GridAction::None: break;
    }
  };

  if (function && key == KEY_RESIZE) return;
  if (function && key == KEY_F(10)) return accept();
  if (isChar(27)) return cancel();
  if (function && key == KEY_F(5)) return gridAction(GridAction::Reset);
  if (function && key == KEY_F(3)) return gridAction(GridAction::Schemes);
  if ((function && key == KEY_DOWN) || isChar(L'\t')) {
    if (leaveDate()) moveFocus(d, 1);
    return;
  }
  if (function && (key == KEY_UP || key == KEY_BTAB)) {
    if (leaveDate()) moveFocus(d, -1);
    return;
  }
  if (!control) return;

  if (d.focus.action != GridAction::None) {
    if (isEnterKey(status, key) || isChar(L' ')) gridAction(d.focus.action);
    return;
  }
  if (function && key == KEY_F(7)) {
    if (grid && (control->kind() == forms::ControlKind::TextBox || control->kind() == forms::ControlKind::ComboBox))
      guarded([&] { grid->Lookup(*control, true); });
    return;
  }

  using K = forms::ControlKind;
  switch (control->kind()) {
    case K::TextBox: {
      auto& box = static_cast<forms::TextBox&>(*control);
      if (isEnterKey(status, key)) return moveFocus(d, 1);
      if ((function && key == KEY_BACKSPACE) || isChar(127) || isChar(8)) {
        std::string text = box.Text();
        popLastChar(text);
        guarded([&] { box.SetText(text); });
      } else if (isChar(21)) {
        guarded([&] { box.SetText(""); });
      } else if (status == OK && key >= 32) {
        guarded([&] { box.SetText(box.Text() + utf8Of(static_cast<wchar_t>(key))); });
      }
      return;
    }
    case K::ComboBox: {
      auto& combo = static_cast<forms::ComboBox&>(*control);
      if (function && (key == KEY_LEFT || key == KEY_RIGHT)) {
        const int count = combo.ListCount();
        if (count == 0) return;
        const int step = key == KEY_RIGHT ? 1 : -1;
        const int next = combo.ListIndex() < 0 ? 0 : (combo.ListIndex() + step + count) % count;
        guarded([&] { combo.SetListIndex(next); });
      } else if (isChar(L' ') || isEnterKey(status, key)) {
        std::vector<std::string> items;
        for (int i = 0; i < combo.ListCount(); ++i) items.push_back(combo.List(i));
        const int chosen = runPickList(items, combo.ListIndex(), form.Caption());
        if (chosen >= 0) guarded([&] { combo.SetListIndex(chosen); });
        if (chosen >= 0 && isEnterKey(status, key)) moveFocus(d, 1);
      }
      return;
    }
    case K::CheckBox:
      if (isChar(L' ')) guarded([&] { static_cast<forms::CheckBox&>(*control).Click(); });
      if (isEnterKey(status, key)) moveFocus(d, 1);
      return;
    case K::CommandButton:
      if (isChar(L' ') || isEnterKey(status, key)) guarded([&] { static_cast<forms::CommandButton&>(*control).Click(); });
      return;
    case K::UpDown: {
      auto& updown = static_cast<forms::UpDown&>(*control);
      if ((function && (key == KEY_RIGHT)) || isChar(L'+')) guarded([&] { updown.StepUp(); });
      if ((function && (key == KEY_LEFT)) || isChar(L'-')) guarded([&] { updown.StepDown(); });
      if (isEnterKey(status, key)) moveFocus(d, 1);
      return;
    }
    case K::DatePicker: {
      auto& picker = static_cast<forms::DatePicker&>(*control);
      if (isEnterKey(status, key)) {
        if (leaveDate()) moveFocus(d, 1);
        return;
      }
      if ((function && (key == KEY_RIGHT || key == KEY_LEFT)) || isChar(L'+') || isChar(L'=')) {
        if (!commitDate(d, picker)) return;
        const int step = (function && key == KEY_LEFT) ? -1 : 1;
        guarded([&] { picker.SetValue(picker.Value().addDays(step)); });
        return;
      }
      auto it = d.buffers.find(control);
      std::string text = it != d.buffers.end() ? it->second : std::string();
      if ((function && key == KEY_BACKSPACE) || isChar(127) || isChar(8)) {
        if (it == d.buffers.end()) text = picker.Value().iso();
        popLastChar(text);
        d.buffers[control] = text;
      } else if (status == OK && ((key >= L'0' && key <= L'9') || key == L'-' || key == L'/')) {
        d.buffers[control] = text + utf8Of(static_cast<wchar_t>(key));
      }
      return;
    }
    default: return;
  }
}

int CursesFrontEnd::msgBox(std::string_view text, int style, std::string_view title) {
  if (!active_) {
    progress_.clearLine();
    std::fprintf(stderr, "%.*s%s%.*s\n", static_cast<int>(title.size()), title.data(), title.empty() ? "" : ": ",
                 static_cast<int>(text.size()), text.data());
    return forms::firstAnswerOf(style);
  }
  return runMessageBox(text, style, title);
}

void CursesFrontEnd::doEvents() {
  if (!active_) progress_.paint();
}

}  // namespace app::tui
