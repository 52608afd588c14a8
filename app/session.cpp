// Logging the host in on a company database.
#include "app/session.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <optional>

#include "app/exit_codes.h"
#include "cost/register.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "midtier/pg/url.h"
#include "midtier/services/connection.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/register.h"
#include "platform/com/registry.h"
#include "platform/grfc/register.h"
#include "production/register.h"

namespace app {
namespace {

std::string describe(const std::exception& e) {
  if (auto* p = dynamic_cast<const plat::Error*>(&e)) return p->description();
  return e.what();
}

// The user id of `user`: a name or an id that t_User holds; nobody else logs in.
int32_t userIdOf(const std::string& props, const std::string& user) {
  if (plat::trim(user).empty()) throw Failure{kExitUsage, "--user needs a user name or id"};
  midtier::Connection& c = midtier::connect(props);
  const auto known = [&](const char* sql, dbi::Value key) -> std::optional<int32_t> {
    auto find = c.query(sql, {std::move(key)});
    if (!find->next()) return std::nullopt;
    return static_cast<int32_t>(find->number(0));
  };
  if (auto id = known("SELECT FUserID FROM t_User WHERE FName = ?1", user)) return *id;
  int64_t number = 0;
  const auto [end, ec] = std::from_chars(user.data(), user.data() + user.size(), number);
  if (ec == std::errc() && end == user.data() + user.size() && number > 0 && number <= INT32_MAX)
    if (auto id = known("SELECT FUserID FROM t_User WHERE FUserID = ?1", number)) return *id;
  throw Failure{kExitUsage, "unknown user '" + user + "': no user of that name or id in this company database"};
}

}  // namespace

std::filesystem::path dataDirectory() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::filesystem::path(xdg) / "tavshoprpt";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "tavshoprpt";
}

std::string defaultDatabase() { return (dataDirectory() / "demo.db").string(); }

void registerClasses() {
  static const bool registered = [] {
    plat::Registry& broker = plat::broker();
    grfc::registerReportFilter(broker);
    midtier::registerServices(broker);
    production::registerProductionReports(broker);
    cost::registerCostReports(broker);
    return true;
  }();
  (void)registered;
}

LoginInfo login(const LoginOptions& options) {
  LoginInfo info;
  info.db = options.db.empty() ? defaultDatabase() : options.db;
  const bool server = pg::isServerUrl(info.db);
  // Messages name a server database without its password.
  const std::string shown = server ? pg::redactedUrl(info.db) : info.db;
  std::error_code ec;
  if (!server && !std::filesystem::exists(info.db, ec))
    throw Failure{kExitDatabase, "database not found: " + info.db + " (create it with: tavshoprpt init --db " + info.db + ")"};
  if (!server && std::filesystem::is_directory(info.db, ec))
    throw Failure{kExitDatabase, "not a database file: " + info.db + " is a directory"};
  registerClasses();
  try {
    // Opening checks the file is a company database; the user is looked up in it.
    const std::string probe = midtier::makeProps(info.db, kDemoUserId, options.user);
    midtier::connect(probe);
    info.userId = userIdOf(probe, options.user);
  } catch (const Failure&) {
    throw;
  } catch (const std::exception& e) {
    const std::string problem = describe(e);
    throw Failure{failureCode(problem, kExitDatabase, options.lockedExit), "cannot use database " + shown + ": " + problem};
  }
  info.userName = options.user;
  info.props = midtier::makeProps(info.db, info.userId, info.userName);
  midtier::setLoginProperties(info.props, info.userName);
  return info;
}

int failureCode(const std::string& error, int otherwise, int unwritable) {
  const std::optional<midtier::DatabaseFailure> failure = midtier::lastFailure();
  if (!failure || error.empty() || error.find(failure->description) == std::string::npos) return otherwise;
  switch (failure->kind) {
    case midtier::FailureKind::Damaged: return kExitDatabase;
    case midtier::FailureKind::Unwritable: return unwritable;
    case midtier::FailureKind::Other: break;
  }
  return otherwise;
}

AccountingPeriod currentPeriod(const LoginInfo& info) {
  auto service = plat::broker().CreateAs<svc::StockRptData>(svc::kStockRptData);
  lumo::DictionaryRef answer = service->GetCurrenPeriodDate(info.props);
  return AccountingPeriod{static_cast<int>(plat::val(answer->Value("CurrentYear").text())),
                          static_cast<int>(plat::val(answer->Value("CurrentPeriod").text()))};
}

NumberStyle numberStyle(const LoginInfo& info) {
  NumberStyle style;
  try {
    style.amountScale = plat::broker().CreateAs<svc::ShopRptData>(svc::kShopRptData)->GetCurrencyScale(info.props);
  } catch (const std::exception&) {
    // the default scale stands
  }
  return style;
}

ItemDecimals itemDecimals(const LoginInfo& info) {
  return [props = info.props](const std::string& number) -> std::optional<std::pair<int, int>> {
    int32_t qty = -1, price = -1;
    try {
      plat::broker().CreateAs<svc::ShopRptData>(svc::kShopRptData)->GetDecimal(props, plat::Variant(number), qty, price);
    } catch (const std::exception&) {
      return std::nullopt;
    }
    if (qty < 0 || price < 0) return std::nullopt;
    return std::make_pair(static_cast<int>(qty), static_cast<int>(price));
  };
}

}  // namespace app
