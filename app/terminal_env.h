// What the environment allows on a terminal: NO_COLOR (any value but "") and TERM=dumb ask for
// output without escape sequences.
#pragma once

#include <cstdlib>
#include <string_view>

namespace app {

inline bool escapesAllowed() {
  const char* noColor = std::getenv("NO_COLOR");
  if (noColor && *noColor) return false;
  const char* term = std::getenv("TERM");
  return term && *term && std::string_view(term) != "dumb";
}

}  // namespace app
