// Logging in and out of the web viewer.
#include "app/exit_codes.h"
#include "app/web/api.h"
#include "midtier/services/connection.h"

namespace app::web {
namespace {

// The user's name in t_User: a browser logs in only as a user the company database knows,
// also when it gives an id.
std::optional<std::string> knownUser(const LoginInfo& info) {
  auto find = midtier::connect(info.props).query("SELECT FName FROM t_User WHERE FUserID = ?1", {int64_t{info.userId}});
  if (!find->next()) return std::nullopt;
  return std::string(find->text(0));
}

}  // namespace

void addLoginRoutes(httplib::Server& server, Sessions& sessions) {
  server.Post("/api/login", [&sessions](const httplib::Request& request, httplib::Response& response) {
    auto body = bodyOf(request, response);
    if (!body) return;
    const std::string user = body->value("user", std::string());
    if (user.empty()) return replyError(response, 400, "a user name is needed");
    LoginInfo info;
    try {
      ComponentLock lock;
      info = login(LoginOptions{sessions.db(), user});
      const std::optional<std::string> name = knownUser(info);
      if (!name) throw Failure{kExitUsage, "unknown user '" + user + "'"};
      info.userName = *name;
      info.props = midtier::makeProps(info.db, info.userId, info.userName);
    } catch (const Failure& f) {
      return replyError(response, f.code == kExitUsage ? 403 : 500, f.message);
    }
    std::shared_ptr<Session> session = sessions.add(std::move(info));
    response.set_header("Set-Cookie", "tavsession=" + session->token() + "; Path=/; HttpOnly; SameSite=Strict");
    reply(response, {{"token", session->token()},
                     {"user", session->login().userName},
                     {"userId", session->login().userId}});
  });
  server.Post("/api/logout", withSession(sessions, [&sessions](Session& session, const httplib::Request&,
                                                                httplib::Response& response) {
                const std::string token = session.token();
                response.set_header("Set-Cookie", "tavsession=; Path=/; Max-Age=0; HttpOnly; SameSite=Strict");
                reply(response, {{"ok", true}});
                sessions.remove(token);
              }));
  server.Get("/api/session", withSession(sessions, [](Session& session, const httplib::Request&,
                                                     httplib::Response& response) {
               AccountingPeriod current;
               {
                 ComponentLock lock(session.login());
                 current = currentPeriod(session.login());
               }
               reply(response, {{"user", session.login().userName},
                                {"userId", session.login().userId},
                                {"currentYear", current.year},
                                {"currentPeriod", current.period}});
             }));
}

}  // namespace app::web
