// The front end of runs without a user: progress windows run their work with a live line on
// stderr, a filter dialog gets one scripted action (load a scheme and accept, or accept as it
// stands), message boxes go to stderr with their first answer, and any other form closes at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/tui/progress_line.h"
#include "platform/forms/front_end.h"

namespace grfc {
class ReportFilter;
}

namespace app {

// The report filter grid hosted on `form`, or null.
grfc::ReportFilter* filterGridOf(const forms::Form& form);

class BatchFrontEnd : public forms::FrontEnd {
 public:
  using DialogScript = std::function<void(forms::Form&, grfc::ReportFilter&)>;

  explicit BatchFrontEnd(ProgressLine& progress) : progress_(progress) {}

  // The action for the next filter dialog; without one a dialog is cancelled.
  void setDialogScript(DialogScript script) { script_ = std::move(script); }
  // What went wrong in the scripted dialog: its error, or the messages of a refused acceptance.
  const std::string& dialogProblem() const { return problem_; }
  const std::vector<std::string>& messages() const { return messages_; }
  // Message boxes are also printed on stderr unless silenced.
  void setEchoMessages(bool echo) { echo_ = echo; }

  void runModal(forms::Form& form) override;
  int msgBox(std::string_view text, int style, std::string_view title) override;
  void doEvents() override { progress_.paint(); }
  void rowsRead(long rows) override { progress_.setRows(rows); }

 private:
  void runDialog(forms::Form& form, grfc::ReportFilter& grid);

  ProgressLine& progress_;
  DialogScript script_;
  std::string problem_;
  std::vector<std::string> messages_;
  bool echo_ = true;
};

// Runs a progress window: paints it, activates it (the report's work runs there) and closes it
// if the work left it open. Shared by the front ends.
void runProgressWindow(forms::Form& window, ProgressLine& progress);

}  // namespace app
