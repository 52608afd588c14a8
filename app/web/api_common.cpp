// Sessions, replies and request checks of the JSON API.
#include <random>

#include "app/web/api.h"

namespace app::web {
namespace {

constexpr std::string_view kCookie = "tavsession=";

std::string newToken() {
  std::random_device random;
  std::string token;
  static constexpr char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 32; ++i) token += kHex[random() % 16];
  return token;
}

std::string tokenOf(const httplib::Request& request) {
  const std::string auth = request.get_header_value("Authorization");
  if (auth.rfind("Bearer ", 0) == 0) return auth.substr(7);
  const std::string cookies = request.get_header_value("Cookie");
  for (size_t at = cookies.find(kCookie); at != std::string::npos; at = cookies.find(kCookie, at + 1)) {
    if (at > 0 && cookies[at - 1] != ' ' && cookies[at - 1] != ';') continue;
    const size_t begin = at + kCookie.size();
    return cookies.substr(begin, cookies.find(';', begin) - begin);
  }
  return {};
}

}  // namespace

std::shared_ptr<Session> Sessions::add(LoginInfo login) {
  auto session = std::make_shared<Session>(newToken(), std::move(login));
  std::lock_guard lock(mutex_);
  sessions_[session->token()] = session;
  return session;
}

std::shared_ptr<Session> Sessions::find(const httplib::Request& request) const {
  const std::string token = tokenOf(request);
  std::lock_guard lock(mutex_);
  auto it = sessions_.find(token);
  return it == sessions_.end() ? nullptr : it->second;
}

void Sessions::remove(const std::string& token) {
  std::shared_ptr<Session> gone;
  std::lock_guard lock(mutex_);
  if (auto it = sessions_.find(token); it != sessions_.end()) {
    gone = std::move(it->second);
    sessions_.erase(it);
  }
}

void Sessions::clear() {
  std::map<std::string, std::shared_ptr<Session>> gone;
  std::lock_guard lock(mutex_);
  gone.swap(sessions_);
}

void reply(httplib::Response& response, const nlohmann::json& body, int status) {
  response.status = status;
  response.set_header("Cache-Control", "no-store");
  response.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), "application/json");
}

void replyError(httplib::Response& response, int status, const std::string& message) {
  reply(response, {{"error", message}}, status);
}

std::optional<nlohmann::json> bodyOf(const httplib::Request& request, httplib::Response& response) {
  if (request.body.empty()) return nlohmann::json::object();
  nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
  if (body.is_discarded() || !body.is_object()) {
    replyError(response, 400, "the request body is not a JSON object");
    return std::nullopt;
  }
  return body;
}

const ReportInfo* reportOf(const httplib::Request& request, httplib::Response& response) {
  const std::string name = request.matches.size() > 1 ? std::string(request.matches[1]) : std::string();
  const ReportInfo* info = findReport(name);
  if (!info) replyError(response, 404, "unknown report '" + name + "'");
  return info;
}

httplib::Server::Handler withSession(Sessions& sessions, SessionHandler handler) {
  return [&sessions, handler = std::move(handler)](const httplib::Request& request, httplib::Response& response) {
    std::shared_ptr<Session> session = sessions.find(request);
    if (!session) return replyError(response, 401, "not logged in");
    handler(*session, request, response);
  };
}

}  // namespace app::web
