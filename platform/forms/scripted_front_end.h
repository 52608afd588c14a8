// The front end of tests and batch runs: modal forms run queued script steps instead of a user,
// message boxes take queued answers, and everything shown is logged.
//
//   auto fe = std::make_shared<forms::ScriptedFrontEnd>();
//   forms::FrontEndScope scope(fe);
//   fe->onShow("frmFilter400", [](forms::Form& f) {
//     f.get<forms::TextBox>("txtItem", 2).SetText("A");
//     grfc::ReportFilter::of(f).Ok();
//   });
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/front_end.h"

namespace forms {

class ScriptedFrontEnd : public FrontEnd {
 public:
  using Step = std::function<void(Form&)>;

  struct Entry {
    enum class Kind {
      Shown,     // a modal form came up; `form` and `text` (its caption)
      Closed,    // a form its step left open was closed as by the window's close box
      Message,   // a message box; `text`, `title`, `style`, `answer`
    };
    Kind kind;
    std::string form;
    std::string text;
    std::string title;
    int style = 0;
    int answer = 0;
  };

  // Queues a step for the next showing of the form of that name (compared without regard to
  // case); each showing consumes one step.
  void onShow(std::string_view formName, Step step);
  size_t pendingSteps(std::string_view formName) const;
  // Queues the answer of the next message box. Without a queued answer a box gets the answer of
  // its first button (vbOK for the information boxes).
  void answer(int answer) { answers_.push_back(answer); }
  size_t pendingAnswers() const { return answers_.size(); }
  // Called at each doEvents, with the forms shown at that moment (innermost last).
  void setDoEventsHook(std::function<void()> hook) { doEventsHook_ = std::move(hook); }

  const std::vector<Entry>& log() const { return log_; }
  std::vector<Entry> messages() const;
  // One line per log entry, for whole-text comparisons:
  //   show frmFilter400 "过滤"
  //   msgbox "Ostrel提示" style=64 answer=1: 汇总依据不能为空
  //   close frmFilter400
  std::string transcript() const;
  int doEventsCount() const { return doEvents_; }
  // The modal forms running now, outermost first.
  const std::vector<Form*>& modalStack() const { return stack_; }
  void clearLog();

  // Records the form, activates it, runs its next step if it is still visible, and closes it
  // (Unload) if it is still visible after that.
  void runModal(Form& form) override;
  int msgBox(std::string_view text, int style, std::string_view title) override;
  void doEvents() override;

 private:
  std::map<std::string, std::deque<Step>> steps_;  // folded form name -> steps
  std::deque<int> answers_;
  std::vector<Entry> log_;
  std::vector<Form*> stack_;
  std::function<void()> doEventsHook_;
  int doEvents_ = 0;
};

}  // namespace forms
