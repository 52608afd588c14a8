// The session thread, its modal forms and what it publishes for the page.
#include "app/web/session.h"

#include "app/exit_codes.h"
#include "app/tui/batch_front_end.h"
#include "app/tui/progress_line.h"
#include "app/web/form_events.h"
#include "app/web/form_json.h"
#include "cost/filter/period_range.h"
#include "frame/report/report.h"
#include "platform/forms/front_end.h"
#include "platform/forms/status_controls.h"
#include "platform/grfc/report_filter.h"

namespace app::web {
namespace {

using nlohmann::json;
thread_local Session* tlsCurrent = nullptr;

std::string describe(const std::exception& e) {
  if (auto* p = dynamic_cast<const plat::Error*>(&e)) return p->description();
  return e.what();
}

// The buttons of a message box style, as (answer, caption).
json messageButtons(int style) {
  using namespace forms;
  const auto b = [](int answer, const char* caption) { return json{{"answer", answer}, {"caption", caption}}; };
  switch (buttonsOf(style)) {
    case vbOKCancel: return {b(vbOK, "确定"), b(vbCancel, "取消")};
    case vbAbortRetryIgnore: return {b(vbAbort, "终止"), b(vbRetry, "重试"), b(vbIgnore, "忽略")};
    case vbYesNoCancel: return {b(vbYes, "是"), b(vbNo, "否"), b(vbCancel, "取消")};
    case vbYesNo: return {b(vbYes, "是"), b(vbNo, "否")};
    case vbRetryCancel: return {b(vbRetry, "重试"), b(vbCancel, "取消")};
    default: return {b(vbOK, "确定")};
  }
}

}  // namespace

Session::Session(std::string token, LoginInfo login) : token_(std::move(token)), login_(std::move(login)) {
  state_ = {{"forms", json::array()}, {"message", nullptr}, {"notice", ""}, {"handled", 0}};
  thread_ = std::jthread([this] { loop(); });
}

Session::~Session() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

Session* Session::current() { return tlsCurrent; }

void Session::loop() {
  tlsCurrent = this;
  for (;;) {
    std::function<void()> work;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || !work_.empty(); });
      if (stopping_) break;
      work = std::move(work_.front());
      work_.pop_front();
    }
    held_.emplace(login_);
    try {
      work();
    } catch (const Failure& f) {
      finish(RunStatus::State::Failed, f.message);
    } catch (const std::exception& e) {
      finish(RunStatus::State::Failed, describe(e));
    }
    {
      std::lock_guard lock(mutex_);
      if (status_.state == RunStatus::State::Running) status_.state = RunStatus::State::Done;
      working_ = false;
    }
    changed_.notify_all();
    held_.reset();
  }
  // The reports are component objects: they go under the lock, on this thread.
  ComponentLock lock(login_);
  results_.clear();
  tlsCurrent = nullptr;
}

bool Session::start(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    if (working_ || stopping_) return false;
    working_ = true;
    const int serial = status_.serial + 1;
    status_ = RunStatus{};
    status_.state = RunStatus::State::Running;
    status_.serial = serial;
    state_["notice"] = "";
    work_.push_back(std::move(work));
  }
  changed_.notify_all();
  return true;
}

RunStatus Session::status() const {
  std::lock_guard lock(mutex_);
  return status_;
}

void Session::finish(RunStatus::State state, std::string error) {
  std::lock_guard lock(mutex_);
  status_.state = state;
  status_.error = std::move(error);
}

void Session::setPeriods(std::vector<std::pair<int, int>> periods) {
  periods_ = std::move(periods);
  std::lock_guard lock(mutex_);
  status_.periods = static_cast<int>(periods_.size());
  status_.period = 0;
}

void Session::runForm(forms::Form& form) {
  if (isProgressWindow(form)) return runProgress(form);
  runDialog(form);
}

void Session::runProgress(forms::Form& window) {
  progress_ = &window;
  struct End {
    Session& s;
    ~End() { s.progress_ = nullptr; }
  } end{*this};
  pumpEvents();
  window.Activate();  // the report's work runs here
  pumpEvents();
  if (window.visible()) window.Unload();
}

void Session::pumpEvents() {
  if (!progress_) return;
  std::string message;
  const forms::ProgressBar* bar = nullptr;
  for (const auto& c : progress_->controls()) {
    if (c->kind() == forms::ControlKind::Label && message.empty()) message = c->Caption();
    if (c->kind() == forms::ControlKind::ProgressBar && !bar) bar = static_cast<const forms::ProgressBar*>(c.get());
  }
  int period = 0;
  for (size_t i = 0; i < periods_.size() && !period; ++i) {
    const auto [year, p] = periods_[i];
    if (message == cost::ReadingMessage(year, p) || message == cost::SummingMessage(year, p))
      period = static_cast<int>(i) + 1;
  }
  std::lock_guard lock(mutex_);
  status_.message = message;
  status_.barShown = bar && bar->Visible();
  status_.fraction = bar && bar->Max() > bar->Min() ? (bar->Value() - bar->Min()) / (bar->Max() - bar->Min()) : 0;
  if (period) status_.period = period;
}

void Session::runDialog(forms::Form& form) {
  modal_.push_back(&form);
  listFirst_.push_back(0);
  struct Pop {
    Session& s;
    ~Pop() {
      s.modal_.pop_back();
      s.listFirst_.pop_back();
      s.publish();
    }
  } pop{*this};
  form.Activate();  // a restored scheme with AutoFilter may accept here already
  grfc::ReportFilter* grid = filterGridOf(form);
  if (script_ && grid) {
    DialogScript script = std::move(script_);
    script_ = nullptr;
    if (form.visible()) {
      try {
        script(form, *grid);
      } catch (const std::exception& e) {
        notice_ = describe(e);
      }
    }
    if (form.visible()) grid->Cancel();
    if (form.visible()) form.Unload();
    return;
  }
  while (form.visible()) {
    publish();
    std::optional<json> event = nextEvent();
    if (!event) {  // the session ends
      if (grid) grid->Cancel();
      if (form.visible()) form.Unload();
      break;
    }
    notice_.clear();
    try {
      if (check_ && event->is_object() && event->value("grid", std::string()) == "ok")
        if (auto* events = dynamic_cast<grfc::ReportFilterEvents*>(&form)) {
          lumo::DictionaryRef candidate = lumo::newDictionary();
          events->SaveFilter(candidate);
          if (candidate) notice_ = check_(*candidate);
          if (!notice_.empty()) continue;
        }
      applyFormEvent(form, *event, listFirst_.back());
    } catch (const std::exception& e) {
      notice_ = describe(e);
    }
  }
}

int Session::messageBox(std::string_view text, int style, std::string_view title) {
  if (modal_.empty()) {  // a run's message: kept with its status
    std::lock_guard lock(mutex_);
    status_.messages.emplace_back(text);
    return forms::firstAnswerOf(style);
  }
  const json buttons = messageButtons(style);
  message_ = json{{"text", text}, {"title", title}, {"style", style}, {"buttons", buttons}};
  struct Clear {
    Session& s;
    ~Clear() { s.message_.reset(); }
  } clear{*this};
  for (;;) {
    publish();
    std::optional<json> event = nextEvent();
    if (!event) return forms::firstAnswerOf(style);
    if (!event->is_object() || !event->contains("answer") || !(*event)["answer"].is_number_integer()) continue;
    const int answer = (*event)["answer"].get<int>();
    for (const json& b : buttons)
      if (b["answer"].get<int>() == answer) return answer;
  }
}

void Session::publish() {
  json forms = json::array();
  for (size_t i = 0; i < modal_.size(); ++i) {
    try {
      forms.push_back(formJson(*modal_[i], listFirst_[i]));
    } catch (const std::exception& e) {
      notice_ = describe(e);
      forms.push_back({{"name", modal_[i]->name()}, {"caption", modal_[i]->Caption()}, {"controls", json::array()}});
    }
  }
  json state = {{"forms", std::move(forms)},
                {"message", message_ ? *message_ : json(nullptr)},
                {"notice", notice_},
                {"handled", applied_}};
  {
    std::lock_guard lock(mutex_);
    state_ = std::move(state);
    formsOpen_ = !modal_.empty();
    // An event is handled once the forms wait for the next one (nextEvent), or when none is
    // left open; a form closing under an outer one is not the end of the outer handler's work.
    if (modal_.empty()) handledEvents_ = applied_;
  }
  changed_.notify_all();
}

std::optional<json> Session::nextEvent() {
  held_->unlock();
  std::optional<json> event;
  {
    std::unique_lock lock(mutex_);
    handledEvents_ = applied_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return stopping_ || !events_.empty(); });
    if (!stopping_) {
      applied_ = events_.front().first;
      event = std::move(events_.front().second);
      events_.pop_front();
    }
  }
  held_->relock();
  return event;
}

json Session::formState() const {
  std::lock_guard lock(mutex_);
  return state_;
}

std::optional<json> Session::sendEvent(json event) {
  std::unique_lock lock(mutex_);
  if (!formsOpen_ || stopping_) return std::nullopt;
  const int64_t seq = ++sentEvents_;
  events_.emplace_back(seq, std::move(event));
  changed_.notify_all();
  // Another session's run may hold the component for a while; the page asks again then.
  changed_.wait_for(lock, std::chrono::seconds(60), [&] { return handledEvents_ >= seq || stopping_; });
  return state_;
}

}  // namespace app::web
