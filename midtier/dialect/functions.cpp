// SQLite functions with SQL Server's behaviour: CHARINDEX, SUBSTRING and the run-time '+'.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "midtier/dialect/decimal_functions.h"
#include "midtier/dialect/dialect.h"
#include "midtier/dialect/errors.h"

namespace dialect {
namespace {

std::string_view textOf(sqlite3_value* v) {
  const unsigned char* text = sqlite3_value_text(v);
  return text ? std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_value_bytes(v)))
              : std::string_view();
}

bool anyNull(int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
  }
  return false;
}

bool isLeadByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Byte offset of the 1-based character position (size() when past the end).
std::size_t byteOffset(std::string_view s, std::int64_t position) {
  std::size_t i = 0;
  for (std::int64_t chars = 1; i < s.size() && chars < position; ++chars) {
    ++i;
    while (i < s.size() && !isLeadByte(s[i])) ++i;
  }
  return i;
}

std::int64_t characterCount(std::string_view s) {
  std::int64_t n = 0;
  for (char c : s) n += isLeadByte(c) ? 1 : 0;
  return n;
}

// CHARINDEX(needle, haystack [, start]): 1-based character position, 0 when absent. Compares
// without regard to ASCII case, as under SQL Server's usual case-insensitive collation.
void charindex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
  std::string_view needle = textOf(argv[0]);
  std::string_view haystack = textOf(argv[1]);
  std::int64_t start = argc > 2 ? sqlite3_value_int64(argv[2]) : 1;
  if (needle.empty()) return sqlite3_result_int64(ctx, 0);
  std::size_t from = byteOffset(haystack, start < 1 ? 1 : start);
  for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && fold(haystack[i + k]) == fold(needle[k])) ++k;
    if (k == needle.size()) return sqlite3_result_int64(ctx, characterCount(haystack.substr(0, i)) + 1);
  }
  sqlite3_result_int64(ctx, 0);
}

// SUBSTRING(s, start, length): the characters at positions start .. start+length-1 that exist;
// a start below 1 still counts positions from there. A negative length is an error.
void substring(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
  std::string_view s = textOf(argv[0]);
  std::int64_t start = sqlite3_value_int64(argv[1]);
  std::int64_t length = sqlite3_value_int64(argv[2]);
  if (length < 0) return sqlite3_result_error(ctx, "Invalid length parameter passed to the substring function.", -1);
  std::int64_t end = start > INT64_MAX - length ? INT64_MAX : start + length;  // one past the last position
  if (start < 1) start = 1;
  if (end <= start) return sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
  std::size_t from = byteOffset(s, start);
  std::size_t to = byteOffset(s, end);
  sqlite3_result_text(ctx, s.data() + from, static_cast<int>(to - from), SQLITE_TRANSIENT);
}

bool isText(int type) { return type == SQLITE_TEXT || type == SQLITE_BLOB; }

// The number a text operand of '+' stands for, as SQL Server converts it; false when it is none.
bool numberOf(sqlite3_value* v, sqlite3_value*& converted) {
  converted = sqlite3_value_dup(v);
  if (!converted) return false;
  sqlite3_value_numeric_type(converted);  // applies numeric affinity in place
  return !isText(sqlite3_value_type(converted));
}

// '+' under SQL Server's type rules, for operands whose types only the values tell: text + text
// concatenates, number + number adds, and text + number converts the text to a number (numbers
// outrank text), failing when the text is not one.
void add(sqlite3_context* ctx, int, sqlite3_value** argv) {
  int a = sqlite3_value_type(argv[0]);
  int b = sqlite3_value_type(argv[1]);
  if (a == SQLITE_NULL || b == SQLITE_NULL) return sqlite3_result_null(ctx);
  if (isText(a) && isText(b)) {
    std::string text(textOf(argv[0]));
    text += textOf(argv[1]);
    return sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  if (isText(a) || isText(b)) {
    sqlite3_value* operands[2] = {nullptr, nullptr};
    bool ok = true;
    for (int i = 0; i < 2; ++i) {
      if (!isText(sqlite3_value_type(argv[i]))) continue;
      if (!numberOf(argv[i], operands[i])) {
        std::string message = "Conversion failed when converting the varchar value '" + std::string(textOf(argv[i])) +
                              "' to a number in '+'.";
        sqlite3_result_error(ctx, message.c_str(), -1);
        ok = false;
      }
    }
    if (ok) {
      sqlite3_value* args[2] = {operands[0] ? operands[0] : argv[0], operands[1] ? operands[1] : argv[1]};
      add(ctx, 2, args);
    }
    sqlite3_value_free(operands[0]);
    sqlite3_value_free(operands[1]);
    return;
  }
  if (a == SQLITE_INTEGER && b == SQLITE_INTEGER) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &sum)) {
      return sqlite3_result_error(ctx, "Arithmetic overflow error in '+'.", -1);
    }
    return sqlite3_result_int64(ctx, sum);
  }
  sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
}

void define(sqlite3* db, const char* name, int args, void (*fn)(sqlite3_context*, int, sqlite3_value**)) {
  int rc = sqlite3_create_function_v2(db, name, args, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                      fn, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    throw plat::Error::database(kErrorSource, std::string("cannot register SQLite function ") + name + ": " +
                                                  sqlite3_errmsg(db));
  }
}

}  // namespace

void registerFunctions(sqlite3* db) {
  define(db, "tav_charindex", 2, charindex);
  define(db, "tav_charindex", 3, charindex);
  define(db, "tav_substring", 3, substring);
  define(db, "tav_add", 2, add);
  registerDecimalFunctions(db);
}

}  // namespace dialect
