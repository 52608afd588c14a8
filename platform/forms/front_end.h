// The front end that presents modal forms and message boxes, and the process-wide current one.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace forms {

class Form;

// Message box styles (buttons + icon, added together) and answers, as the platform numbers them.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;

inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// The buttons part of a style (vbOKOnly ... vbRetryCancel).
constexpr int buttonsOf(int style) { return style & 7; }
// The answer of a style's first button (vbOK for vbOKOnly and vbOKCancel, vbYes for vbYesNo...).
int firstAnswerOf(int style);

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  // Runs a form that Form::Show has made visible: presents it, calls form.Activate() once it is
  // up, and returns when the form is hidden or unloaded. Must allow nested calls: a form's
  // handlers may show further modal forms.
  virtual void runModal(Form& form) = 0;
  // Shows a message box and returns the answer (vbOK, vbYes, ...).
  virtual int msgBox(std::string_view text, int style, std::string_view title) = 0;
  // Lets pending window messages run: the moment a live front end repaints.
  virtual void doEvents() = 0;
  // A long read has read `rows` rows so far (called every few thousand rows); a live front end
  // may show the count. The default shows nothing.
  virtual void rowsRead(long rows) { (void)rows; }
};

// Installs the process-wide front end; nullptr restores the default, a scripted front end
// without steps (every modal form closes at once, every message box gets its first answer).
void setFrontEnd(std::shared_ptr<FrontEnd> frontEnd);
FrontEnd& frontEnd();
std::shared_ptr<FrontEnd> currentFrontEnd();

// Installs a front end for a scope and puts the previous one back at its end.
class FrontEndScope {
 public:
  explicit FrontEndScope(std::shared_ptr<FrontEnd> frontEnd);
  ~FrontEndScope();
  FrontEndScope(const FrontEndScope&) = delete;
  FrontEndScope& operator=(const FrontEndScope&) = delete;

 private:
  std::shared_ptr<FrontEnd> previous_;
};

void DoEvents();
void RowsRead(long rows);
int MsgBox(std::string_view text, int style = vbOKOnly, std::string_view title = {});

}  // namespace forms
