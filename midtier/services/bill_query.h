// The one query text the report data service runs for its callers: the bill-number lookup's
// "Select FBillNo From SEOrder Where FInterID=123" (or ICMO). Recognised by its shape and
// re-issued with the id as a bound parameter; any other text is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace midtier {

struct BillQuery {
  std::string_view table;  // "SEOrder" or "ICMO", spelled as in the schema
  int64_t interId = 0;
};

// The table and id of a bill-number query; nothing for any other text. Keywords and the
// table name compare without regard to case; blanks may vary; the id is a whole number.
std::optional<BillQuery> parseBillQuery(std::string_view text);

}  // namespace midtier
