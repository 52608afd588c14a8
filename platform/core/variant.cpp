#include "platform/core/variant.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace plat {
namespace {

constexpr const char* kSource = "Variant";

// Parses a whole text as a number: optional blanks, sign, digits, point, exponent.
bool parseNumber(std::string_view s, double& out) {
  std::string t = trim(s);
  if (t.empty()) return false;
  std::string_view v = t;
  if (v.front() == '+') v.remove_prefix(1);
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
  return ec == std::errc() && end == v.data() + v.size();
}

double roundHalfEven(double d) { return std::nearbyint(d); }

}  // namespace

std::string trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

std::string numberText(double d) {
  if (d == 0) return "0";
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, end);
}

double val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  size_t j = i;
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
  while (j < text.size() && ((text[j] >= '0' && text[j] <= '9') || text[j] == '.')) ++j;
  double out = 0;
  std::string_view num = text.substr(i, j - i);
  if (!num.empty() && num.front() == '+') num.remove_prefix(1);
  std::from_chars(num.data(), num.data() + num.size(), out);
  return out;
}

bool Variant::isNumber() const {
  auto t = type();
  return t == VarType::Boolean || t == VarType::Integer || t == VarType::Long || t == VarType::Double;
}

bool Variant::isDateLike() const {
  if (isDate()) return true;
  return isText() && Date::parse(std::get<std::string>(v_)).has_value();
}

bool Variant::isNumeric() const {
  if (isNumber()) return true;
  double d;
  return isText() && parseNumber(std::get<std::string>(v_), d);
}

std::string Variant::text() const {
  switch (type()) {
    case VarType::Empty:
    case VarType::Null: return {};
    case VarType::Boolean: return std::get<bool>(v_) ? "True" : "False";
    case VarType::Integer: return std::to_string(std::get<int16_t>(v_));
    case VarType::Long: return std::to_string(std::get<int32_t>(v_));
    case VarType::Double: return numberText(std::get<double>(v_));
    case VarType::Date: return std::get<Date>(v_).iso();
    case VarType::Text: return std::get<std::string>(v_);
    case VarType::Object: throw Error::typeMismatch(kSource, "an object has no text value");
  }
  return {};
}

double Variant::toDouble() const {
  switch (type()) {
    case VarType::Empty: return 0;
    case VarType::Null: throw Error(94, kSource, "Invalid use of Null");
    case VarType::Boolean: return std::get<bool>(v_) ? -1 : 0;
    case VarType::Integer: return std::get<int16_t>(v_);
    case VarType::Long: return std::get<int32_t>(v_);
    case VarType::Double: return std::get<double>(v_);
    case VarType::Date: return static_cast<double>(std::get<Date>(v_).days().time_since_epoch().count());
    case VarType::Text: {
      double d;
      if (!parseNumber(std::get<std::string>(v_), d))
        throw Error::typeMismatch(kSource, "Type mismatch: '" + std::get<std::string>(v_) + "' is not a number");
      return d;
    }
    case VarType::Object: throw Error::typeMismatch(kSource, "Type mismatch: an object is not a number");
  }
  return 0;
}

int16_t Variant::toInt16() const {
  double d = roundHalfEven(toDouble());
  if (d < std::numeric_limits<int16_t>::min() || d > std::numeric_limits<int16_t>::max())
    throw Error::overflow(kSource, "Overflow: " + text() + " does not fit a 16-bit integer");
  return static_cast<int16_t>(d);
}

int32_t Variant::toInt32() const {
  double d = roundHalfEven(toDouble());
  if (d < std::numeric_limits<int32_t>::min() || d > std::numeric_limits<int32_t>::max())
    throw Error::overflow(kSource, "Overflow: " + text() + " does not fit a 32-bit integer");
  return static_cast<int32_t>(d);
}

bool Variant::toBool() const {
  if (type() == VarType::Boolean) return std::get<bool>(v_);
  if (isText()) {
    const std::string t = trim(std::get<std::string>(v_));
    if (t == "True" || t == "true" || t == "TRUE") return true;
    if (t == "False" || t == "false" || t == "FALSE") return false;
  }
  return toDouble() != 0;
}

Date Variant::toDate() const {
  if (isDate()) return std::get<Date>(v_);
  if (isText()) {
    if (auto d = Date::parse(std::get<std::string>(v_))) return *d;
    throw Error::typeMismatch(kSource, "Type mismatch: '" + std::get<std::string>(v_) + "' is not a date");
  }
  if (isNull()) throw Error(94, kSource, "Invalid use of Null");
  throw Error::typeMismatch(kSource, "Type mismatch: value is not a date");
}

const ObjectRef& Variant::object() const {
  if (!isObject()) throw Error(424, kSource, "Object required");
  return std::get<ObjectRef>(v_);
}

}  // namespace plat
