// Reading the values of a cost report filter the way the reports compare them: a value stored
// as text by the dialog ("1") and one stored as a number (1) compare alike.
#pragma once

#include <string>
#include <string_view>

#include "platform/lumo/dictionary.h"

namespace cost {

// True when the filter value under `key` equals `number`. An absent key and the empty text
// count as 0, Null equals nothing; a text that is not a number raises plat::Error.
bool FilterEquals(const lumo::Dictionary& filter, std::string_view key, double number);

// The filter value under `key` as text ("" when absent or Null).
std::string FilterText(const lumo::Dictionary& filter, std::string_view key);

}  // namespace cost
