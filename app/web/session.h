// One browser login: the user, the session's own thread on which its dialogs and runs execute
// (one piece of work at a time), the state of its modal forms as the page sees them, the
// progress of its run and the results it shows (a stack: a drill-down pushes, back pops).
//
// Threads: work runs on the session thread under the component lock. A modal form waits for
// the page's events with the lock released; HTTP threads hand events over and read the state
// published by the session thread, never the forms themselves.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/catalog.h"
#include "app/session.h"
#include "app/table/table_model.h"
#include "app/web/component_lock.h"

namespace frame {
class Report;
}
namespace forms {
class Form;
}
namespace grfc {
class ReportFilter;
}

namespace app::web {

// A report whose "OK" is true, with the table the page reads.
struct Shown {
  const ReportInfo* info = nullptr;  // null for a detail report not in the catalog
  std::shared_ptr<frame::Report> report;
  std::shared_ptr<TableModel> model;
};

struct RunStatus {
  enum class State { Idle, Running, Done, Failed, Cancelled };
  State state = State::Idle;
  int serial = 0;             // counts the runs of the session
  std::string message;        // the progress window's message
  double fraction = 0;        // the bar, 0..1
  bool barShown = false;
  int period = 0, periods = 0;  // the cost reports: period k of n (0 when unknown)
  std::string error;
  std::vector<std::string> messages;  // message boxes raised while no dialog was open
};

class Session {
 public:
  Session(std::string token, LoginInfo login);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const std::string& token() const { return token_; }
  const LoginInfo& login() const { return login_; }

  // --- work ---
  // Starts `work` on the session thread under the component lock as a new run (its status
  // Running, then Done unless the work says otherwise). False, with nothing started, while
  // earlier work still runs: a session never runs two things at once.
  [[nodiscard]] bool start(std::function<void()> work);
  RunStatus status() const;
  // For the work itself (session thread): the outcome, and the periods a cost report walks.
  void finish(RunStatus::State state, std::string error = {});
  void setPeriods(std::vector<std::pair<int, int>> periods);
  // The action a filter dialog gets instead of the page (a run from a saved scheme); once.
  using DialogScript = std::function<void(forms::Form&, grfc::ReportFilter&)>;
  void setDialogScript(DialogScript script) { script_ = std::move(script); }
  // What a filter dialog's OK is checked with before the dialog sees it: the message that keeps
  // the dialog open, "" to accept.
  using FilterCheck = std::function<std::string(const lumo::Dictionary&)>;
  void setFilterCheck(FilterCheck check) { check_ = std::move(check); }

  // --- results (REQUIRES: the component lock, taken for this session) ---
  std::vector<Shown>& results() { return results_; }

  // --- the front end's calls, on the session thread ---
  void runForm(forms::Form& form);
  int messageBox(std::string_view text, int style, std::string_view title);
  void pumpEvents();

  // --- the page's side, any HTTP thread ---
  // The forms open now, innermost last, with a pending message box and the last notice.
  nlohmann::json formState() const;
  // Hands `event` to the innermost form and waits until it is handled; nothing when no form
  // waits for events. The answer is the state after the event.
  std::optional<nlohmann::json> sendEvent(nlohmann::json event);

  // The session whose thread is the calling one; null on other threads.
  static Session* current();

 private:
  void loop();
  void runProgress(forms::Form& window);
  void runDialog(forms::Form& form);
  // Publishes the state of the modal stack (session thread, component lock held).
  void publish();
  // Waits for the next event with the component lock released; nothing when stopping.
  std::optional<nlohmann::json> nextEvent();
  void applyEvent(forms::Form& form, const nlohmann::json& event);

  const std::string token_;
  const LoginInfo login_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> work_;
  bool working_ = false;
  bool stopping_ = false;
  RunStatus status_;
  std::deque<std::pair<int64_t, nlohmann::json>> events_;  // (number, event)
  int64_t sentEvents_ = 0;     // events handed over
  int64_t handledEvents_ = 0;  // events whose outcome `state_` shows
  nlohmann::json state_;
  bool formsOpen_ = false;     // a modal form takes events

  // session thread only
  std::optional<ComponentLock> held_;
  std::vector<forms::Form*> modal_;
  std::vector<long> listFirst_;  // per modal form: the first journal row shown
  forms::Form* progress_ = nullptr;
  std::optional<nlohmann::json> message_;  // a message box waiting for its answer
  std::string notice_;
  int64_t applied_ = 0;
  std::vector<std::pair<int, int>> periods_;
  std::vector<std::string> periodMessages_;
  DialogScript script_;
  FilterCheck check_;
  std::vector<Shown> results_;
  std::jthread thread_;
};

}  // namespace app::web
