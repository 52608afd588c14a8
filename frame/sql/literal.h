// SQL text literals: every "'" doubled, optionally trimmed and enclosed in quotes.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/variant.h"

namespace frame {

// Null counts as the empty text (so quoted it is ''). Never raises: on an error returns what was built so far.
std::string SqlLiteral(const plat::Variant& value, bool addQuotes, bool trim);
// As SqlLiteral; with `strip` the characters 0, 10 and 13 are removed before quoting.
std::string SqlLiteralStripped(const plat::Variant& value, bool addQuotes, bool trim, bool strip);
// Every "'" replaced by "''" (typed text going into a filter).
std::string DoubleQuotes(std::string_view text);

}  // namespace frame
