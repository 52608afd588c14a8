// The process-wide current front end and the free functions that reach it.
#include "platform/forms/front_end.h"

#include "platform/forms/scripted_front_end.h"

namespace forms {

int firstAnswerOf(int style) {
  switch (buttonsOf(style)) {
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
  }
}

namespace {
std::shared_ptr<FrontEnd>& current() {
  static std::shared_ptr<FrontEnd> instance = std::make_shared<ScriptedFrontEnd>();
  return instance;
}
}  // namespace

void setFrontEnd(std::shared_ptr<FrontEnd> frontEnd) {
  current() = frontEnd ? std::move(frontEnd) : std::make_shared<ScriptedFrontEnd>();
}

FrontEnd& frontEnd() { return *current(); }
std::shared_ptr<FrontEnd> currentFrontEnd() { return current(); }

FrontEndScope::FrontEndScope(std::shared_ptr<FrontEnd> frontEnd) : previous_(current()) {
  setFrontEnd(std::move(frontEnd));
}

FrontEndScope::~FrontEndScope() { current() = std::move(previous_); }

void DoEvents() { frontEnd().doEvents(); }

void RowsRead(long rows) { frontEnd().rowsRead(rows); }

int MsgBox(std::string_view text, int style, std::string_view title) {
  return frontEnd().msgBox(text, style, title);
}

}  // namespace forms
