// Encoding rows in COPY's binary format: network byte order, a length before every field.
#include "midtier/generator/copy_binary.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include <fmt/format.h>

#include "platform/core/error.h"

namespace gen {

namespace {

// Writes `value` at `at` in network byte order; gives the position after it.
template <typename T>
char* putBigEndian(char* at, T value) {
  using U = std::make_unsigned_t<T>;
  const U bits = static_cast<U>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) at[i] = static_cast<char>(bits >> (8 * (sizeof(T) - 1 - i)));
  return at + sizeof(T);
}

[[noreturn]] void refuse(std::string_view table, std::size_t column, std::string_view what) {
  throw plat::Error::typeMismatch("gen.copy", fmt::format("{}, column {}: {}", table, column + 1, what));
}

// The integer a value stands for in an integer column of `bits` bits.
int64_t integerOf(const Value& value, int bits, std::string_view table, std::size_t column) {
  int64_t integer = 0;
  if (const auto* i = std::get_if<int64_t>(&value)) {
    integer = *i;
  } else if (const auto* d = std::get_if<double>(&value)) {
    // 2^63 is exact as a double; anything at or past it does not convert.
    if (!(std::abs(*d) < 9223372036854775808.0) || std::trunc(*d) != *d)
      refuse(table, column, fmt::format("{} is not an integer", *d));
    integer = static_cast<int64_t>(*d);
  } else {
    refuse(table, column, "a text where an integer goes");
  }
  const int64_t limit = bits == 64 ? std::numeric_limits<int64_t>::max() : (int64_t{1} << (bits - 1)) - 1;
  if (integer > limit || integer < -limit - 1) refuse(table, column, fmt::format("{} is out of range", integer));
  return integer;
}

// The most bytes a field can take: its length and at most eight bytes of number or the text.
std::size_t fieldBound(const Value& value) {
  const auto* text = std::get_if<std::string_view>(&value);
  return 4 + (text ? text->size() : 32);
}

// Writes one field (its length, then its value) at `at`, which has fieldBound() bytes; gives the
// position after it.
char* putField(char* at, const Value& value, WireType type, std::string_view table, std::size_t column) {
  if (std::holds_alternative<std::monostate>(value)) return putBigEndian<int32_t>(at, -1);
  switch (type) {
    case WireType::SmallInt:
      at = putBigEndian<int32_t>(at, 2);
      return putBigEndian(at, static_cast<int16_t>(integerOf(value, 16, table, column)));
    case WireType::Integer:
      at = putBigEndian<int32_t>(at, 4);
      return putBigEndian(at, static_cast<int32_t>(integerOf(value, 32, table, column)));
    case WireType::BigInt:
      at = putBigEndian<int32_t>(at, 8);
      return putBigEndian(at, integerOf(value, 64, table, column));
    case WireType::Double: {
      double real = 0;
      if (const auto* d = std::get_if<double>(&value)) {
        real = *d;
      } else if (const auto* i = std::get_if<int64_t>(&value)) {
        real = static_cast<double>(*i);
      } else {
        refuse(table, column, "a text where a number goes");
      }
      at = putBigEndian<int32_t>(at, 8);
      return putBigEndian(at, std::bit_cast<uint64_t>(real));
    }
    case WireType::Text: {
      if (const auto* text = std::get_if<std::string_view>(&value)) {
        if (text->size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
          refuse(table, column, "a text too long to send");
        at = putBigEndian(at, static_cast<int32_t>(text->size()));
        if (!text->empty()) std::memcpy(at, text->data(), text->size());
        return at + text->size();
      }
      // A number in a text column reads as its text form would (at most 24 characters).
      char* const digits = at + 4;
      char* end = nullptr;
      if (const auto* i = std::get_if<int64_t>(&value)) {
        end = std::to_chars(digits, digits + 28, *i).ptr;
      } else {
        end = std::to_chars(digits, digits + 28, std::get<double>(value)).ptr;
      }
      putBigEndian(at, static_cast<int32_t>(end - digits));
      return end;
    }
  }
  return at;
}

}  // namespace

std::optional<WireType> wireTypeOf(std::string_view serverType) {
  if (serverType == "smallint") return WireType::SmallInt;
  if (serverType == "integer") return WireType::Integer;
  if (serverType == "bigint") return WireType::BigInt;
  if (serverType == "double precision") return WireType::Double;
  if (serverType == "text") return WireType::Text;
  return std::nullopt;
}

void appendBinaryRow(std::string& out, std::span<const Value> values, std::span<const WireType> types,
                     std::string_view table) {
  if (values.size() != types.size())
    throw plat::Error::invalidCall("gen.copy", fmt::format("{}: a row of {} values for {} columns", table, values.size(),
                                                           types.size()));
  std::size_t bound = 2;
  for (const Value& value : values) bound += fieldBound(value);
  const std::size_t start = out.size();
  out.resize(start + bound);
  char* at = putBigEndian(out.data() + start, static_cast<int16_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) at = putField(at, values[i], types[i], table, i);
  out.resize(static_cast<std::size_t>(at - out.data()));
}

}  // namespace gen
