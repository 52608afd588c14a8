#include "frame/sql/literal.h"

namespace frame {

std::string DoubleQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string SqlLiteralStripped(const plat::Variant& value, bool addQuotes, bool trim, bool strip) {
  std::string built;
  try {
    std::string text = value.isNull() ? std::string() : value.text();
    if (trim) text = plat::trim(text);
    if (strip) std::erase_if(text, [](char c) { return c == '\0' || c == '\n' || c == '\r'; });
    built = DoubleQuotes(text);
    if (addQuotes) built = "'" + built + "'";
  } catch (const std::exception&) {
    // a value without a text form (an object) yields what was built so far
  }
  return built;
}

std::string SqlLiteral(const plat::Variant& value, bool addQuotes, bool trim) {
  return SqlLiteralStripped(value, addQuotes, trim, false);
}

}  // namespace frame
