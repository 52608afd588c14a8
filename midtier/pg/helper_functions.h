// The functions that translated statements call on the server, kept at this program's version.
#pragma once

#include <string_view>

namespace pg {

class Connection;

// Where the installed functions' digest (md5 of their text) is kept.
inline constexpr const char* kFunctionsTable = "tav_functions";

// Runs `functions` (CREATE OR REPLACE statements) and records their digest.
void installFunctions(Connection& connection, std::string_view functions);

// Brings a company's functions to `functions` when its recorded digest differs: a database made
// by an older program gets this one's functions the first time a role that may create them
// connects. Clients connecting at once replace them one after the other. A role that may not
// (read-only) leaves them as they are: statements then run with the functions the database has.
void refreshFunctions(Connection& connection, std::string_view functions);

}  // namespace pg
