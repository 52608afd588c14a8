// Encoding rows in COPY's binary format: network byte order, a length before every field.
#include "midtier/generator/copy_binary.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

#include <fmt/format.h>

#include "platform/core/error.h"

namespace gen {

namespace {

template <typename T>
void appendBigEndian(std::string& out, T value) {
  using U = std::make_unsigned_t<T>;
  const U bits = static_cast<U>(value);
  char bytes[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<char>(bits >> (8 * (sizeof(T) - 1 - i)));
  out.append(bytes, sizeof(T));
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

void appendField(std::string& out, const Value& value, WireType type, std::string_view table, std::size_t column) {
  if (std::holds_alternative<std::monostate>(value)) {
    appendBigEndian<int32_t>(out, -1);
    return;
  }
  switch (type) {
    case WireType::SmallInt:
      appendBigEndian<int32_t>(out, 2);
      appendBigEndian(out, static_cast<int16_t>(integerOf(value, 16, table, column)));
      return;
    case WireType::Integer:
      appendBigEndian<int32_t>(out, 4);
      appendBigEndian(out, static_cast<int32_t>(integerOf(value, 32, table, column)));
      return;
    case WireType::BigInt:
      appendBigEndian<int32_t>(out, 8);
      appendBigEndian(out, integerOf(value, 64, table, column));
      return;
    case WireType::Double: {
      double real = 0;
      if (const auto* d = std::get_if<double>(&value)) {
        real = *d;
      } else if (const auto* i = std::get_if<int64_t>(&value)) {
        real = static_cast<double>(*i);
      } else {
        refuse(table, column, "a text where a number goes");
      }
      appendBigEndian<int32_t>(out, 8);
      appendBigEndian(out, std::bit_cast<uint64_t>(real));
      return;
    }
    case WireType::Text: {
      if (const auto* text = std::get_if<std::string_view>(&value)) {
        if (text->size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
          refuse(table, column, "a text too long to send");
        appendBigEndian(out, static_cast<int32_t>(text->size()));
        out.append(*text);
        return;
      }
      // A number in a text column reads as its text form would.
      char buffer[32];
      const char* end = nullptr;
      if (const auto* i = std::get_if<int64_t>(&value)) {
        end = std::to_chars(buffer, buffer + sizeof buffer, *i).ptr;
      } else {
        end = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value)).ptr;
      }
      appendBigEndian(out, static_cast<int32_t>(end - buffer));
      out.append(buffer, static_cast<std::size_t>(end - buffer));
      return;
    }
  }
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
  appendBigEndian(out, static_cast<int16_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) appendField(out, values[i], types[i], table, i);
}

}  // namespace gen
