// COPY's binary format for the generator's rows: each value sent in the column's own wire
// form, which spares both the client's number formatting and the server's parsing of text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "midtier/generator/row_writer.h"

namespace gen {

// The column types a binary COPY writes; a table with a column of any other type goes as text.
enum class WireType : uint8_t { SmallInt, Integer, BigInt, Double, Text };

// The wire type of a server type name as format_type() gives it ("integer", "text", ...).
[[nodiscard]] std::optional<WireType> wireTypeOf(std::string_view serverType);

// The signature, flags and header extension that open every binary COPY stream, and the
// field count of -1 that ends it.
inline constexpr std::string_view kBinaryCopyHeader{"PGCOPY\n\377\r\n\0\0\0\0\0\0\0\0\0", 19};
inline constexpr std::string_view kBinaryCopyTrailer{"\377\377", 2};

// Appends one row. A value is taken as its column would take it in text: an integer into a
// double or text column, an integral double into an integer column. Throws plat::Error naming
// `table` and the column's position (1-based) for a value the column cannot hold.
void appendBinaryRow(std::string& out, std::span<const Value> values, std::span<const WireType> types,
                     std::string_view table);

}  // namespace gen
