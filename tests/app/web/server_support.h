// A `tavshoprpt serve` process of the tests' own on a free port, and a client for its API.
#pragma once

#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "app/cli_support.h"

namespace apptest {

using nlohmann::json;

class ServerProcess {
 public:
  explicit ServerProcess(const std::string& db) {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      const std::string program = programPath().string();
      ::execl(program.c_str(), program.c_str(), "serve", "--db", db.c_str(), "--port", "0", nullptr);
      ::_exit(127);
    }
    ::close(out[1]);
    // The first line tells the address once the socket is bound.
    std::FILE* lines = ::fdopen(out[0], "r");
    char buffer[256] = {};
    const bool read = std::fgets(buffer, sizeof buffer, lines) != nullptr;
    std::fclose(lines);
    const std::string line = read ? buffer : "";
    const auto colon = line.rfind(':');
    if (line.rfind("listening on http://127.0.0.1:", 0) != 0 || colon == std::string::npos)
      throw std::runtime_error("the server did not start: " + line);
    port_ = std::stoi(line.substr(colon + 1));
  }
  ~ServerProcess() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

struct Reply {
  int status = 0;
  json body;
  std::string bytes;
};

// A browser-less client holding one session's token.
class ApiClient {
 public:
  explicit ApiClient(int port) : client_("127.0.0.1", port) { client_.set_read_timeout(120, 0); }

  Reply login(const std::string& user) {
    Reply r = post("/api/login", {{"user", user}});
    if (r.status == 200) token_ = r.body["token"].get<std::string>();
    return r;
  }
  Reply get(const std::string& path) { return wrap(client_.Get(path.c_str(), headers())); }
  Reply post(const std::string& path, const json& body = json::object()) {
    return wrap(client_.Post(path.c_str(), headers(), body.dump(), "application/json"));
  }
  // Waits until the session's dialog is up, or its work has ended without one.
  json waitForms() {
    for (;;) {
      json state = get("/api/dialog").body;
      if (!state["forms"].empty() || get("/api/run").body["state"] != "running") return state;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  // Waits for the session's run to end (the server answers each poll at once).
  json waitRun() {
    for (;;) {
      json status = get("/api/run").body;
      if (status["state"] != "running") return status;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

 private:
  httplib::Headers headers() const {
    return token_.empty() ? httplib::Headers{} : httplib::Headers{{"Authorization", "Bearer " + token_}};
  }
  static Reply wrap(const httplib::Result& result) {
    Reply r;
    if (!result) throw std::runtime_error("no answer from the server");
    r.status = result->status;
    r.bytes = result->body;
    r.body = json::parse(result->body, nullptr, false);
    return r;
  }
  httplib::Client client_;
  std::string token_;
};

}  // namespace apptest
