// The JSON API's handlers and what they share: the logged-in sessions, replies and request checks.
#pragma once

#include <httplib.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "app/catalog.h"
#include "app/web/session.h"

namespace app::web {

// The sessions by token. Every API request but login names its session by the cookie
// "tavsession" or an "Authorization: Bearer TOKEN" header.
class Sessions {
 public:
  explicit Sessions(std::string db) : db_(std::move(db)) {}
  const std::string& db() const { return db_; }
  std::shared_ptr<Session> add(LoginInfo login);
  std::shared_ptr<Session> find(const httplib::Request& request) const;
  void remove(const std::string& token);
  void clear();

 private:
  std::string db_;
  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<Session>> sessions_;
};

void reply(httplib::Response& response, const nlohmann::json& body, int status = 200);
void replyError(httplib::Response& response, int status, const std::string& message);
// The request's JSON body; an empty body is an empty object. Nothing (with a 400 reply) when
// the body is no JSON object.
std::optional<nlohmann::json> bodyOf(const httplib::Request& request, httplib::Response& response);
// The report named by the path's first match (class name or number); null with a 404 reply.
const ReportInfo* reportOf(const httplib::Request& request, httplib::Response& response);

// Handlers on a request of a logged-in session.
using SessionHandler = std::function<void(Session&, const httplib::Request&, httplib::Response&)>;
// Wraps `handler`: a request without a live session gets 401.
httplib::Server::Handler withSession(Sessions& sessions, SessionHandler handler);

// A run's status as /api/run hands it out.
nlohmann::json runStatusJson(const RunStatus& status);

void addLoginRoutes(httplib::Server& server, Sessions& sessions);
void addReportRoutes(httplib::Server& server, Sessions& sessions);
void addResultRoutes(httplib::Server& server, Sessions& sessions);

}  // namespace app::web
