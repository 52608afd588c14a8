// The dialect layer's error: what went wrong, where, and the text found there.
#pragma once

#include <string>
#include <string_view>

#include "midtier/dialect/tokens.h"
#include "platform/core/error.h"

namespace dialect {

inline constexpr long kSyntaxErrorNumber = 102;
inline constexpr const char* kErrorSource = "dialect";

// The batch text starting at pos, up to the end of its line, cut to a readable length.
[[nodiscard]] std::string snippetAt(std::string_view batch, SourcePos pos);

// "<what> at line L, column C: <snippet>" (no snippet at the end of the batch).
[[nodiscard]] plat::Error syntaxError(std::string_view batch, SourcePos pos, const std::string& what);

}  // namespace dialect
