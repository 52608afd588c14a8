// The web viewer's JSON API where the browser flows do not go, against a real server process on
// the generated company database: refused logins and requests, values checked as on the
// command line, the downloads other than CSV, the dialog's notices, per-user schemes and the bill
// lookup. Logging in, running from the dialog, the result page and the CSV download are the
// browser flows' work.
#include <gtest/gtest.h>

#include "app/web/server_support.h"
#include "support/demo_company.h"

namespace app {
namespace {

using apptest::ApiClient;
using apptest::json;
using apptest::runCli;
using apptest::ServerProcess;

const std::string& db() { return support::demoDatabase(); }

ServerProcess& server() {
  static ServerProcess process(db());
  return process;
}

ApiClient loggedIn(const std::string& user = "administrator") {
  ApiClient client(server().port());
  EXPECT_EQ(client.login(user).status, 200);
  return client;
}

// The control of a form's JSON by name (and index).
json controlOf(const json& form, const std::string& name, int index = -1) {
  for (const json& c : form["controls"])
    if (c["name"] == name && c["index"] == index) return c;
  ADD_FAILURE() << form["name"] << " has no control " << name;
  return json::object();
}

const std::vector<std::string> kGraded = {"GroupBy=1", "SumMode=1", "BLevel=1", "ELevel=2"};

std::string setArgs(const std::vector<std::string>& pairs) {
  std::string out;
  for (const std::string& p : pairs) out += "--set " + p + " ";
  return out;
}

TEST(WebApi, LoginIsNeededAndUnknownUsersAreRefused) {
  ApiClient anonymous(server().port());
  EXPECT_EQ(anonymous.get("/api/reports").status, 401);
  EXPECT_EQ(anonymous.post("/api/reports/401/run").status, 401);
  EXPECT_EQ(anonymous.login("nobody").status, 403);
  EXPECT_EQ(anonymous.login("99999").status, 403);
  EXPECT_EQ(anonymous.get("/api/result").status, 401);

  ApiClient client = loggedIn("16395");
  // What the keys say is the command line's `keys` test; both read the report's one table.
  EXPECT_FALSE(client.get("/api/reports/401/keys").body["keys"].empty());
  EXPECT_EQ(client.get("/api/reports/999/keys").status, 404);
  EXPECT_EQ(client.post("/api/logout").status, 200);
  EXPECT_EQ(client.get("/api/reports").status, 401);
}

TEST(WebApi, ValuesAreCheckedAsOnTheCommandLine) {
  ApiClient client = loggedIn();
  for (const std::string bad : {"BDate=2026-02-30", "Colour=1", "BLevel=12"}) {
    const auto api = client.post("/api/reports/401/run", {{"set", json::array({bad})}});
    const auto cli = runCli("run 401 --db '" + db() + "' --set " + bad + " --format csv");
    EXPECT_EQ(api.status, 400) << bad;
    EXPECT_EQ("tavshoprpt: " + api.body["error"].get<std::string>() + "\n", cli.err) << bad;
  }
  EXPECT_EQ(client.post("/api/reports/401/run", {{"scheme", "没有这个方案"}}).status, 202);
  const json status = client.waitRun();
  EXPECT_EQ(status["state"], "failed");
  EXPECT_NE(status["error"].get<std::string>().find("没有这个方案"), std::string::npos);
}

TEST(WebApi, PagesAndOtherDownloadsMatchTheCommandLine) {
  ApiClient client = loggedIn();
  ASSERT_EQ(client.post("/api/reports/401/run", {{"set", kGraded}}).status, 202);
  ASSERT_EQ(client.waitRun()["state"], "done");
  const json result = client.get("/api/result").body;
  const json page = client.get("/api/result?first=2&count=2").body;
  ASSERT_EQ(page["rows"].size(), 2u);
  EXPECT_EQ(page["rows"][0], result["rows"][2]);

  const std::string args = "run 401 --db '" + db() + "' " + setArgs(kGraded);
  for (const std::string format : {"html", "json"}) {
    const auto cli = runCli(args + "--format " + format);
    ASSERT_EQ(cli.code, 0) << cli.err;
    const auto download = client.get("/api/result/export?format=" + format);
    EXPECT_EQ(download.status, 200);
    EXPECT_EQ(download.bytes, cli.out) << format;
  }
  apptest::TempDir dir("web-xlsx");
  const auto book = dir.path / "book.xlsx";
  ASSERT_EQ(runCli(args + "--format xlsx --out '" + book.string() + "'").code, 0);
  const auto xlsx = client.get("/api/result/export?format=xlsx");
  EXPECT_EQ(xlsx.bytes.size(), apptest::slurp(book).size());
  EXPECT_EQ(xlsx.bytes.substr(0, 2), "PK");
  EXPECT_EQ(client.get("/api/result/export?format=table").status, 400);
}

TEST(WebApi, DialogNoticesRefusalsAndOneRunAtATime) {
  ApiClient client = loggedIn();
  ASSERT_EQ(client.post("/api/reports/401/dialog").status, 202);
  ASSERT_EQ(client.waitForms()["forms"].size(), 1u);
  // The dialog is open: the session is busy, a second run is refused.
  EXPECT_EQ(client.post("/api/reports/400/run").status, 409);

  // What a control cannot take leaves a notice and the dialog open.
  client.post("/api/dialog/event", {{"control", "DtpBDate"}, {"set", "2020-01-01"}});
  json after = client.post("/api/dialog/event", {{"control", "DtpBDate"}, {"set", "2020-13-01"}}).body;
  EXPECT_EQ(after["notice"], "日期格式应为 YYYY-MM-DD：2020-13-01");
  EXPECT_EQ(controlOf(after["forms"][0], "DtpBDate")["value"], "2020-01-01");
  after = client.post("/api/dialog/event", {{"control", "nosuch"}, {"set", "1"}}).body;
  EXPECT_FALSE(after["notice"].get<std::string>().empty());
  after = client.post("/api/dialog/event", {{"grid", "save"}, {"scheme", "网页方案"}}).body;
  EXPECT_EQ(after["notice"], "");
  // OK is checked by the command line's rules before the dialog closes.
  client.post("/api/dialog/event", {{"control", "txtlevel"}, {"index", 1}, {"set", "4"}});
  client.post("/api/dialog/event", {{"control", "txtlevel"}, {"index", 0}, {"set", "5"}});
  after = client.post("/api/dialog/event", {{"grid", "ok"}}).body;
  EXPECT_EQ(after["notice"], "起始类别级次 5 大于截止类别级次 4。");
  ASSERT_EQ(after["forms"].size(), 1u);
  client.post("/api/dialog/event", {{"control", "txtlevel"}, {"index", 0}, {"set", "1"}});
  after = client.post("/api/dialog/event", {{"grid", "ok"}}).body;
  EXPECT_TRUE(after["forms"].empty()) << after.dump();
  EXPECT_EQ(client.waitRun()["state"], "done");
  EXPECT_EQ(client.post("/api/dialog/event", {{"grid", "ok"}}).status, 409);

  // Schemes belong to their user.
  const json mine = client.get("/api/reports/401/schemes").body;
  EXPECT_NE(mine["schemes"].dump().find("网页方案"), std::string::npos);
  ApiClient other = loggedIn("李华");
  EXPECT_EQ(other.get("/api/reports/401/schemes").body["schemes"].dump().find("网页方案"), std::string::npos);
  EXPECT_EQ(other.get("/api/result").status, 404);
}

TEST(WebApi, BillLookupBrowsesTheJournalWithSearchAndPaging) {
  ApiClient client = loggedIn();
  ASSERT_EQ(client.post("/api/reports/400/dialog").status, 202);
  ASSERT_EQ(client.waitForms()["forms"].size(), 1u);
  json state = client.post("/api/dialog/event", {{"control", "txtItem"}, {"index", 4}, {"lookup", true}}).body;
  ASSERT_EQ(state["forms"].size(), 2u) << state["notice"];
  json list = state["forms"][1]["list"];
  ASSERT_FALSE(list["rows"].empty());
  EXPECT_LE(list["rows"].size(), 20u);
  if (list["more"].get<bool>()) {
    const json next = client.post("/api/dialog/event", {{"list", "page"}, {"first", 20}}).body["forms"][1]["list"];
    EXPECT_EQ(next["first"], 20);
    EXPECT_NE(next["rows"][0], list["rows"][0]);
  }
  // Searching narrows the journal to the bills whose number contains the text.
  std::string bill;
  for (const json& cell : list["rows"][0])
    if (cell.get<std::string>().find_first_of("0123456789") != std::string::npos && bill.empty()) bill = cell;
  ASSERT_FALSE(bill.empty());
  list = client.post("/api/dialog/event", {{"list", "search"}, {"text", bill}}).body["forms"][1]["list"];
  ASSERT_FALSE(list["rows"].empty());
  for (const json& row : list["rows"]) EXPECT_NE(row.dump().find(bill), std::string::npos);
  state = client.post("/api/dialog/event", {{"list", "pick"}, {"row", 0}}).body;
  ASSERT_EQ(state["forms"].size(), 1u);
  EXPECT_EQ(controlOf(state["forms"][0], "txtItem", 4)["value"], bill);
  client.post("/api/dialog/event", {{"grid", "cancel"}});
  EXPECT_EQ(client.waitRun()["state"], "cancelled");
}

}  // namespace
}  // namespace app
