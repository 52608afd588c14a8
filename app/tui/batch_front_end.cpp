// Running forms without a user.
#include "app/tui/batch_front_end.h"

#include <cstdio>

#include "platform/forms/form.h"
#include "platform/forms/hosted_control.h"
#include "platform/grfc/report_filter.h"

namespace app {

grfc::ReportFilter* filterGridOf(const forms::Form& form) {
  for (const auto& c : form.controls())
    if (auto* site = dynamic_cast<forms::HostedControl*>(c.get()))
      if (auto* grid = dynamic_cast<grfc::ReportFilter*>(site->object().get())) return grid;
  return nullptr;
}

void runProgressWindow(forms::Form& window, ProgressLine& progress) {
  progress.begin(window);
  struct End {
    ProgressLine& p;
    ~End() { p.end(); }
  } end{progress};
  window.Activate();
  if (window.visible()) window.Unload();
}

void BatchFrontEnd::runModal(forms::Form& form) {
  if (isProgressWindow(form)) return runProgressWindow(form, progress_);
  grfc::ReportFilter* grid = filterGridOf(form);
  if (!grid) {
    if (form.visible()) form.Unload();
    return;
  }
  runDialog(form, *grid);
}

void BatchFrontEnd::runDialog(forms::Form& form, grfc::ReportFilter& grid) {
  DialogScript script = std::move(script_);
  script_ = nullptr;
  const size_t messagesBefore = messages_.size();
  form.Activate();  // a restored scheme with AutoFilter may accept here already
  if (form.visible() && script) {
    try {
      script(form, grid);
    } catch (const plat::Error& e) {
      problem_ = e.description();
    } catch (const std::exception& e) {
      problem_ = e.what();
    }
  }
  if (!form.visible()) return;
  if (problem_.empty()) {
    // The acceptance was refused: the dialog's messages say why.
    for (size_t i = messagesBefore; i < messages_.size(); ++i) problem_ += (problem_.empty() ? "" : "; ") + messages_[i];
    if (problem_.empty() && script) problem_ = "the filter dialog did not accept the filter";
  }
  grid.Cancel();
  if (form.visible()) form.Unload();
}

int BatchFrontEnd::msgBox(std::string_view text, int style, std::string_view title) {
  messages_.emplace_back(text);
  if (echo_) {
    progress_.clearLine();
    std::fprintf(stderr, "%.*s%s%.*s\n", static_cast<int>(title.size()), title.data(), title.empty() ? "" : ": ",
                 static_cast<int>(text.size()), text.data());
  }
  return forms::firstAnswerOf(style);
}

}  // namespace app
