// `tavshoprpt serve`: the web viewer's HTTP server over the company database. It serves the page
// compiled into the program and the JSON API the page uses (documented in README.md).
#pragma once

#include <functional>
#include <string>

namespace app::web {

struct ServeOptions {
  std::string db;                  // "" for the default database
  std::string bind = "127.0.0.1";
  int port = 8080;                 // 0: any free port
};

// Serves until the process is stopped. `ready` hears the address once the socket is bound
// ("http://127.0.0.1:8080/"). Raises app::Failure when the database cannot be used or the
// address cannot be bound.
void serve(const ServeOptions& options, const std::function<void(const std::string&)>& ready);

}  // namespace app::web
