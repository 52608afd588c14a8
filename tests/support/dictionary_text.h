// A dictionary written out whole, so that a test compares every key, value and type in one
// expectation: `BItemNumber="A''B"; BLevel=2#; GroupBy=1%; SumMode=2&; OK=True; SumField={...}`.
// Suffixes: % a 16-bit and & a 32-bit whole number, # a double; dates in #..#; vectors in [..].
#pragma once

#include <string>

#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"
#include "platform/lumo/vector.h"

namespace support {

std::string dictionaryText(const lumo::Dictionary& dictionary);

inline std::string valueText(const plat::Variant& value) {
  switch (value.type()) {
    case plat::VarType::Empty: return "Empty";
    case plat::VarType::Null: return "Null";
    case plat::VarType::Boolean: return value.toBool() ? "True" : "False";
    case plat::VarType::Integer: return value.text() + "%";
    case plat::VarType::Long: return value.text() + "&";
    case plat::VarType::Double: return value.text() + "#";
    case plat::VarType::Date: return "#" + value.text() + "#";
    case plat::VarType::Text: return "\"" + value.text() + "\"";
    case plat::VarType::Object: break;
  }
  if (auto nested = value.tryAs<lumo::Dictionary>()) return "{" + dictionaryText(*nested) + "}";
  if (auto items = value.tryAs<lumo::Vector>()) {
    std::string out = "[";
    for (const auto& item : *items) out += (out.size() > 1 ? ", " : "") + valueText(item);
    return out + "]";
  }
  return "<object>";
}

inline std::string dictionaryText(const lumo::Dictionary& dictionary) {
  std::string out;
  for (const auto& [key, value] : dictionary.entries()) out += (out.empty() ? "" : "; ") + key + "=" + valueText(value);
  return out;
}

}  // namespace support
