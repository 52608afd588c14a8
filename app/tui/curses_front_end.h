// The interactive terminal front end on ncursesw: any modal form drawn from its own controls
// (dialogs, the filter grid's actions, lookups, the scheme window), message boxes, and progress
// windows as a live line on stderr. The terminal is /dev/tty, so stdout stays free for the report;
// curses mode ends whenever no dialog is open.
//
// Keys: Tab/Down next field, Shift-Tab/Up previous, Enter next field or press a button, Space
// toggles a check box or opens a list, Left/Right choose in a list or step an up-down or a date,
// F7 looks up a code, F3 schemes, F5 reset, F10 accept, Esc cancel.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tui/progress_line.h"
#include "platform/forms/front_end.h"
#include "platform/lumo/dictionary.h"

namespace app::tui {

class CursesFrontEnd : public forms::FrontEnd {
 public:
  explicit CursesFrontEnd(ProgressLine& progress);
  ~CursesFrontEnd() override;
  CursesFrontEnd(const CursesFrontEnd&) = delete;
  CursesFrontEnd& operator=(const CursesFrontEnd&) = delete;

  // True when the process has a terminal curses can run on (/dev/tty and a known TERM).
  static bool available();

  // Keeps curses mode on between dialogs while a screen of the host's own (the result grid) is
  // up; release() ends it again when nothing else needs it. Progress windows still leave curses
  // mode for their line on stderr; resume() comes back after one.
  void hold();
  void release();
  void resume();

  // The next filter dialog opens with these values (as a saved filter loads) instead of the
  // last-used scheme.
  void presetNextFilter(lumo::DictionaryRef values) { preset_ = std::move(values); }
  // Checks what a filter dialog's controls hold before it accepts: returns "" when fine, else
  // the message shown while the dialog stays open with everything typed.
  using FilterCheck = std::function<std::string(const lumo::Dictionary& candidate)>;
  void setFilterCheck(FilterCheck check) { check_ = std::move(check); }
  // Values for fields a filter dialog opens blank with (nullptr: none); loaded as a saved
  // filter is, when no preset applies.
  using FilterFill = std::function<lumo::DictionaryRef(const lumo::Dictionary& opened)>;
  void setFilterFill(FilterFill fill) { fill_ = std::move(fill); }

  void runModal(forms::Form& form) override;
  int msgBox(std::string_view text, int style, std::string_view title) override;
  void doEvents() override;
  void rowsRead(long rows) override { progress_.setRows(rows); }

  struct Dialog;

 private:
  void start();
  void suspend();
  void runDialog(forms::Form& form);
  void handleKey(Dialog& dialog, int status, wint_t key);
  // Runs a user action; an error it raises is shown in a message box.
  template <class F>
  void guarded(F&& action);

  ProgressLine& progress_;
  std::FILE* ttyIn_ = nullptr;
  std::FILE* ttyOut_ = nullptr;
  void* screen_ = nullptr;  // SCREEN*
  bool active_ = false;
  int holds_ = 0;
  lumo::DictionaryRef preset_;
  FilterCheck check_;
  FilterFill fill_;
  std::vector<Dialog*> dialogs_;
};

}  // namespace app::tui
