// Running modal forms from queued script steps, answering message boxes, keeping the log.
#include "platform/forms/scripted_front_end.h"

#include "platform/forms/form.h"
#include "platform/lumo/dictionary.h"

namespace forms {

void ScriptedFrontEnd::onShow(std::string_view formName, Step step) {
  steps_[lumo::foldCase(formName)].push_back(std::move(step));
}

size_t ScriptedFrontEnd::pendingSteps(std::string_view formName) const {
  auto it = steps_.find(lumo::foldCase(formName));
  return it == steps_.end() ? 0 : it->second.size();
}

void ScriptedFrontEnd::runModal(Form& form) {
  log_.push_back(Entry{Entry::Kind::Shown, form.name(), form.Caption(), {}, 0, 0});
  stack_.push_back(&form);
  struct Pop {
    std::vector<Form*>& stack;
    ~Pop() { stack.pop_back(); }
  } pop{stack_};

  form.Activate();
  if (form.visible()) {
    auto it = steps_.find(lumo::foldCase(form.name()));
    if (it != steps_.end() && !it->second.empty()) {
      // Taken off the queue before it runs: the step may show this form's kind again.
      Step step = std::move(it->second.front());
      it->second.pop_front();
      step(form);
    }
  }
  if (form.visible()) {
    log_.push_back(Entry{Entry::Kind::Closed, form.name(), {}, {}, 0, 0});
    form.Unload();
  }
}

int ScriptedFrontEnd::msgBox(std::string_view text, int style, std::string_view title) {
  int answer = firstAnswerOf(style);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  log_.push_back(Entry{Entry::Kind::Message, stack_.empty() ? std::string() : stack_.back()->name(),
                       std::string(text), std::string(title), style, answer});
  return answer;
}

void ScriptedFrontEnd::doEvents() {
  ++doEvents_;
  if (doEventsHook_) doEventsHook_();
}

std::vector<ScriptedFrontEnd::Entry> ScriptedFrontEnd::messages() const {
  std::vector<Entry> found;
  for (const auto& e : log_)
    if (e.kind == Entry::Kind::Message) found.push_back(e);
  return found;
}

std::string ScriptedFrontEnd::transcript() const {
  std::string out;
  for (const auto& e : log_) {
    switch (e.kind) {
      case Entry::Kind::Shown: out += "show " + e.form + " \"" + e.text + "\"\n"; break;
      case Entry::Kind::Closed: out += "close " + e.form + "\n"; break;
      case Entry::Kind::Message:
        out += "msgbox \"" + e.title + "\" style=" + std::to_string(e.style) + " answer=" + std::to_string(e.answer) +
               ": " + e.text + "\n";
        break;
    }
  }
  return out;
}

void ScriptedFrontEnd::clearLog() {
  log_.clear();
  doEvents_ = 0;
}

}  // namespace forms
