// The host's login: where the company database lives, the classes registered with the broker,
// the shared properties "PropsString" and "UserName" set for the user, and what the host asks
// the middle tier for itself (current period, currency scale, item decimal places).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/exit_codes.h"
#include "app/filter_values.h"
#include "app/table/table_model.h"

namespace app {

inline constexpr int32_t kDemoUserId = 16394;
inline constexpr const char* kDemoUserName = "administrator";

// $XDG_DATA_HOME/tavshoprpt, else ~/.local/share/tavshoprpt.
std::filesystem::path dataDirectory();
// The database used when --db is not given: demo.db in the data directory.
std::string defaultDatabase();

// Registers the filter grid, the middle tier's services and the six reports (once per process).
void registerClasses();

struct LoginOptions {
  std::string db;                  // "" for defaultDatabase()
  std::string user = kDemoUserName;  // a user name of t_User, or a user id
  // The exit code when another writer holds the database at login: the command's own code for
  // work not done (a report that did not run, a scheme that was not stored).
  int lockedExit = kExitReportFailed;
};

struct LoginInfo {
  std::string db;
  int32_t userId = 0;
  std::string userName;
  std::string props;  // the connection-properties text
};

// Checks the database (app::Failure kExitDatabase when it is missing, not a database or not a
// company database; kExitUsage for an unknown user), registers the classes and sets the login's
// shared properties.
LoginInfo login(const LoginOptions& options);

// The exit code of a failure whose text is `error`: kExitDatabase when it reports the middle
// tier's last database failure and that found the database damaged or incomplete (a damaged page,
// a missing table or column), `unwritable` when it could not take a change (locked, read-only,
// full), else `otherwise`.
int failureCode(const std::string& error, int otherwise, int unwritable);
// For a report that ended "OK" false: kExitDatabase for a damaged database, else kExitReportFailed.
inline int reportFailureCode(const std::string& error) { return failureCode(error, 4, 4); }

// The current accounting period from the stock-report service.
AccountingPeriod currentPeriod(const LoginInfo& info);
// The currency scale and the item decimal places, from the report data service.
NumberStyle numberStyle(const LoginInfo& info);
ItemDecimals itemDecimals(const LoginInfo& info);

}  // namespace app
