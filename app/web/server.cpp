// The HTTP server: the page's files and the JSON API.
#include "app/web/server.h"

#include "app/exit_codes.h"
#include "app/web/api.h"
#include "app/web/assets.h"
#include "app/web/web_front_end.h"

namespace app::web {
namespace {

std::string contentTypeOf(std::string_view name) {
  if (name.ends_with(".html")) return "text/html; charset=utf-8";
  if (name.ends_with(".css")) return "text/css; charset=utf-8";
  if (name.ends_with(".js")) return "text/javascript; charset=utf-8";
  return "application/octet-stream";
}

void addPageRoutes(httplib::Server& server) {
  server.Get(R"(/([a-z]+\.(?:html|css|js))?)", [](const httplib::Request& request, httplib::Response& response) {
    const std::string name = request.matches[1].length() ? std::string(request.matches[1]) : "index.html";
    auto it = assets().find(name);
    if (it == assets().end()) return replyError(response, 404, "no such file");
    response.set_header("Cache-Control", "no-cache");
    response.set_content(it->second.data(), it->second.size(), contentTypeOf(name));
  });
}

}  // namespace

void serve(const ServeOptions& options, const std::function<void(const std::string&)>& ready) {
  LoginInfo probe;
  {
    ComponentLock lock;
    probe = login(LoginOptions{options.db});  // the database must be usable before anyone logs in
  }
  forms::setFrontEnd(std::make_shared<WebFrontEnd>());
  Sessions sessions(probe.db);
  httplib::Server server;
  addPageRoutes(server);
  addLoginRoutes(server, sessions);
  addReportRoutes(server, sessions);
  addResultRoutes(server, sessions);
  server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const Failure& f) {
      replyError(response, f.code == kExitUsage ? 400 : 500, f.message);
    } catch (const plat::Error& e) {
      replyError(response, 500, e.description());
    } catch (const std::exception& e) {
      replyError(response, 500, e.what());
    }
  });
  const int port = options.port == 0 ? server.bind_to_any_port(options.bind)
                                     : (server.bind_to_port(options.bind, options.port) ? options.port : -1);
  if (port < 0) throw Failure{kExitUsage, "cannot listen on " + options.bind + ":" + std::to_string(options.port)};
  ready("http://" + options.bind + ":" + std::to_string(port) + "/");
  server.listen_after_bind();
  sessions.clear();
  forms::setFrontEnd(nullptr);
}

}  // namespace app::web
