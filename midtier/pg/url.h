// Telling a server database ("postgresql://...") from a database file.
#pragma once

#include <string>
#include <string_view>

namespace pg {

// True for "postgresql://..." and "postgres://..." (libpq's URL forms).
[[nodiscard]] bool isServerUrl(std::string_view location);

// The URL with its password, if any, replaced by "***" (for messages and logs).
[[nodiscard]] std::string redactedUrl(std::string_view url);

}  // namespace pg
