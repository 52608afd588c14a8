// Reading the settings that the list selection form hands the document journal: who looks at
// which database ("BaseInfo") and which bills ("Filter").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace midtier {

inline constexpr std::string_view kListControlSource = "TavList.ICList";

struct ListLogin {
  std::string dbFile;
  int32_t userId = 0;
  std::string userName;
};

// "<database file>|<user id>|<user name>"; the user name may itself hold "|". Raises a
// plat::Error (source TavList.ICList) naming what is missing.
ListLogin parseBaseInfo(const std::string& baseInfo);

// The texts a bill number must contain for a journal filter: none for an empty (or blank) filter,
// the typed text for the bill-number lookup's " FBillNo Like '%<typed text>%'". The typed text
// comes unquoted, so everything between the first "'%" and the last "%'" is that text, quotes
// included; it is matched literally, never run as SQL. Raises a plat::Error for any other filter.
std::vector<std::string> parseJournalFilter(const std::string& filter);

}  // namespace midtier
