// The variant value the component passes everywhere: empty, Null, boolean, 16- and 32-bit
// integers, double, date, text, or a reference to an object (dictionary, vector, record set,
// service). Conversions follow the host platform's rules and throw plat::Error when impossible.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "platform/core/date.h"
#include "platform/core/error.h"
#include "platform/core/object.h"

namespace plat {

enum class VarType { Empty, Null, Boolean, Integer, Long, Double, Date, Text, Object };

struct NullValue {
  bool operator==(const NullValue&) const = default;
};

class Variant {
 public:
  Variant() = default;
  Variant(NullValue) : v_(NullValue{}) {}
  Variant(bool b) : v_(b) {}
  Variant(int16_t i) : v_(i) {}
  Variant(int32_t i) : v_(i) {}
  Variant(double d) : v_(d) {}
  Variant(Date d) : v_(d) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(std::string_view s) : v_(std::string(s)) {}
  Variant(const char* s) : v_(std::string(s)) {}
  Variant(ObjectRef o) : v_(std::move(o)) {}
  template <class T>
    requires std::is_base_of_v<Object, T>
  Variant(std::shared_ptr<T> o) : v_(ObjectRef(std::move(o))) {}

  static Variant null() { return Variant(NullValue{}); }

  VarType type() const { return static_cast<VarType>(v_.index()); }
  bool isEmpty() const { return type() == VarType::Empty; }
  bool isNull() const { return type() == VarType::Null; }
  bool isObject() const { return type() == VarType::Object; }
  bool isNothing() const { return isObject() && !std::get<ObjectRef>(v_); }
  bool isText() const { return type() == VarType::Text; }
  bool isDate() const { return type() == VarType::Date; }
  bool isNumber() const;  // boolean, integer, long or double
  // True when the value is a date, or a text that reads as a "YYYY-MM-DD" date.
  bool isDateLike() const;
  // True when the value converts to a number (numbers, numeric texts, dates excluded).
  bool isNumeric() const;

  // Text as the concatenation operator makes it: Null and Empty give "", numbers their
  // shortest decimal form, booleans "True"/"False", dates "YYYY-MM-DD".
  std::string text() const;
  // Strict conversions: Null, an object, or a text that is not a number raise an error.
  double toDouble() const;
  int16_t toInt16() const;  // rounds half to even, raises on overflow
  int32_t toInt32() const;
  bool toBool() const;
  Date toDate() const;

  const ObjectRef& object() const;  // raises unless an object
  template <class T>
  std::shared_ptr<T> as() const {  // raises unless an object of that kind
    auto p = std::dynamic_pointer_cast<T>(object());
    if (!p) throw Error::typeMismatch("Variant", "object does not support the requested interface");
    return p;
  }
  template <class T>
  std::shared_ptr<T> tryAs() const {
    return isObject() ? std::dynamic_pointer_cast<T>(std::get<ObjectRef>(v_)) : nullptr;
  }

  // Same type and value (objects: same reference).
  bool operator==(const Variant& other) const { return v_ == other.v_; }

 private:
  std::variant<std::monostate, NullValue, bool, int16_t, int32_t, double, Date, std::string, ObjectRef> v_;
};

// The leading number of a text, 0 when there is none ("12ab" gives 12, "" gives 0).
double val(std::string_view text);
// The shortest decimal text of a double ("2024", "0.5", "1e+20").
std::string numberText(double d);
// Trims blanks (space) at both ends.
std::string trim(std::string_view s);

}  // namespace plat
