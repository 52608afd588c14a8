// Reading the summary report's filter values the way the host's scripting runtime compares them:
// an absent key reads as 0 or "", numeric texts compare as numbers.
#pragma once

#include <string>
#include <string_view>

#include "platform/lumo/dictionary.h"

namespace production::rpt401 {

// The numeric value of a value: numbers as they are (True is -1), texts by their leading number,
// Empty, Null and objects 0.
double NumberOf(const plat::Variant& value);
// Whole-number form of NumberOf (levels, list indexes, modes); 0 when out of range.
int IntOf(const plat::Variant& value);

// The numeric value of a filter key: numbers as they are (True is -1), texts by their leading
// number, an absent key or Null 0.
double NumberOf(const lumo::Dictionary& filter, std::string_view key);
// Whole-number form of NumberOf (levels, list indexes, modes).
int IntOf(const lumo::Dictionary& filter, std::string_view key);
// The text of a filter key ("" when absent or Null).
std::string TextOf(const lumo::Dictionary& filter, std::string_view key);
// A date key as "YYYY-MM-DD" when it holds a date or a date text; otherwise its text.
std::string DateTextOf(const lumo::Dictionary& filter, std::string_view key);

}  // namespace production::rpt401
