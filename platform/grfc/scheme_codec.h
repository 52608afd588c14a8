// A filter dictionary as text and back, keeping every key's spelling and order and every value's
// type: what a scheme store keeps. Nested dictionaries and vectors are kept too; other objects
// cannot be saved.
#pragma once

#include <string>
#include <string_view>

#include "platform/lumo/dictionary.h"

namespace grfc {

// Raises plat::Error when a value is an object other than a dictionary or a vector.
std::string encodeFilter(const lumo::Dictionary& filter);
// Raises plat::Error, quoting the offset (0-based), on truncated or malformed text.
lumo::DictionaryRef decodeFilter(std::string_view text);

}  // namespace grfc
