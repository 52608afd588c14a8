// Several clients at once on one server database: browser sessions of one `serve` process and
// command-line processes run reports and save schemes side by side; every result is the one a
// lone run gives and every scheme is there afterwards.
#include <gtest/gtest.h>

#include <future>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "app/web/server_support.h"
#include "support/pg_server.h"

namespace app {
namespace {

using apptest::ApiClient;
using apptest::json;
using apptest::runCli;
using apptest::ServerProcess;

struct Variant {
  std::string report;
  std::vector<std::string> set;
};

std::string setArgs(const std::vector<std::string>& pairs) {
  std::string out;
  for (const std::string& p : pairs) out += " --set " + p;
  return out;
}

// One browser session: runs its report `rounds` times, comparing each download with `expected`,
// and saves a scheme of its own after each run. Returns what went wrong, "" when nothing did.
std::string browse(int port, const Variant& v, const std::string& expected, const std::string& schemePrefix, int rounds) {
  ApiClient client(port);
  if (client.login("administrator").status != 200) return "login refused";
  for (int round = 0; round < rounds; ++round) {
    if (client.post("/api/reports/" + v.report + "/run", {{"set", v.set}}).status != 202) return "run refused";
    const json status = client.waitRun();
    if (status["state"] != "done") return "run ended " + status.dump();
    if (client.get("/api/result/export?format=csv").bytes != expected) return v.report + " gave other rows";
    if (client.post("/api/reports/401/dialog").status != 202) return "dialog refused";
    client.waitForms();
    const std::string name = schemePrefix + std::to_string(round);
    const json saved = client.post("/api/dialog/event", {{"grid", "save"}, {"scheme", name}}).body;
    if (saved.value("notice", "") != "") return "saving " + name + ": " + saved["notice"].get<std::string>();
    client.post("/api/dialog/event", {{"grid", "cancel"}});
    if (client.waitRun()["state"] != "cancelled") return "the dialog did not close";
  }
  return "";
}

TEST(PgServe, ClientsAtOnceGetTheirOwnResultsAndLoseNoScheme) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  const std::string db = "'" + scratch.url() + "'";
  ASSERT_EQ(runCli("init --db " + db + " --tasks 300 --seed 5").code, 0);

  const std::vector<Variant> variants = {{"401", {}},
                                         {"401", {"GroupBy=1", "SumMode=1", "BLevel=1", "ELevel=3"}},
                                         {"400", {"CheckClose=1"}},
                                         {"410", {}}};
  std::vector<std::string> expected;
  for (const Variant& v : variants) {
    const auto alone = runCli("run " + v.report + " --db " + db + setArgs(v.set) + " --format csv");
    ASSERT_EQ(alone.code, 0) << alone.err;
    expected.push_back(alone.out);
  }

  ServerProcess serve(scratch.url());
  constexpr int kRounds = 3;
  std::vector<std::future<std::string>> clients;
  for (size_t i = 0; i < variants.size(); ++i)
    clients.push_back(std::async(std::launch::async, browse, serve.port(), variants[i], expected[i],
                                 "web" + std::to_string(i) + "-", kRounds));
  // Command-line clients meanwhile: each its own scheme, and two of them the same one.
  std::vector<std::future<apptest::CliResult>> processes;
  for (const std::string name : {"cli-a", "cli-b", "cli-same", "CLI-SAME"})
    processes.push_back(std::async(std::launch::async, [&db, name] {
      return runCli("schemes save 401 " + name + " --set GroupByBatchNo=1 --db " + db);
    }));
  for (auto& client : clients) EXPECT_EQ(client.get(), "");
  for (auto& process : processes) {
    const apptest::CliResult saved = process.get();
    EXPECT_EQ(saved.code, 0) << saved.err;
  }

  // "Rpt401<TAB>name" a line.
  const auto listed = runCli("schemes list 401 --db " + db);
  ASSERT_EQ(listed.code, 0) << listed.err;
  std::multiset<std::string> names;
  for (size_t at = 0, end; (end = listed.out.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = listed.out.substr(at, end - at);
    std::string name = line.substr(line.find('\t') + 1);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.insert(name);
  }
  std::vector<std::string> wanted = {"cli-a", "cli-b", "cli-same"};  // one row for the name saved twice at once
  for (size_t i = 0; i < variants.size(); ++i)
    for (int round = 0; round < kRounds; ++round) wanted.push_back("web" + std::to_string(i) + "-" + std::to_string(round));
  for (const std::string& name : wanted) EXPECT_EQ(names.count(name), 1u) << name << " in\n" << listed.out;
}

}  // namespace
}  // namespace app
