// SQL Server's decimal arithmetic where SQLite's binary doubles would show: exact sums and
// rounding to a scale. A decimal travels as the double nearest to it; every result here is again
// the double nearest to the exact decimal result, so it prints without float noise.
#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "midtier/dialect/decimal_functions.h"
#include "midtier/dialect/errors.h"

namespace dialect {
namespace {

using Int128 = __int128;

// The scale sums are kept at: the finest scale of the work tables' decimal columns
// (decimal(23,10), decimal(28,10)). A value with more places is rounded to it, as storing it
// into such a column would.
constexpr int kSumScale = 10;
constexpr Int128 kLimit = static_cast<Int128>(1000000000000000000LL) * 1000000000000000000LL;  // 10^36

// 10^0 .. 10^kSumScale as the integer, double and long double the arithmetic below multiplies
// by; all exact. Computed once: converting a 128-bit integer to floating point is a library call.
struct PowersOfTen {
  Int128 exact[kSumScale + 1];
  double binary[kSumScale + 1];
  long double extended[kSumScale + 1];
};
constexpr PowersOfTen kTen = [] {
  PowersOfTen p{};
  Int128 exact = 1;
  long double extended = 1;
  for (int n = 0; n <= kSumScale; ++n, exact *= 10, extended *= 10) {
    p.exact[n] = exact;
    p.binary[n] = static_cast<double>(extended);
    p.extended[n] = extended;
  }
  return p;
}();

// The decimal digits of the double's shortest round-trip text, rounded half away from zero to
// `scale` places, as an integer count of 10^-scale. False when the value is out of range.
bool scaledFromText(double x, int scale, Int128& out) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed);
  if (ec != std::errc()) return false;
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  Int128 value = 0;
  int places = -1;  // digits seen after the point; -1 before it
  bool roundUp = false;
  for (char c : text) {
    if (c == '.') {
      places = 0;
      continue;
    }
    if (places >= scale) {
      if (places == scale) roundUp = c >= '5';
      ++places;
      continue;
    }
    if (value > kLimit) return false;
    value = value * 10 + (c - '0');
    if (places >= 0) ++places;
  }
  for (int p = places < 0 ? 0 : places; p < scale; ++p) {
    if (value > kLimit / 10) return false;
    value *= 10;
  }
  if (roundUp) ++value;
  out = negative ? -value : value;
  return true;
}

// Whether x * 10^scale, rounded, is the decimal x stands for: the double's spacing there is
// finer than half a unit of the last place.
bool exactlyScalable(double x, int scale) {
  return scale >= 0 && scale <= kSumScale && std::fabs(x) * kTen.binary[scale] < 2e15;
}

// x in units of 10^-scale. The long double product is exact enough for magnitudes where a
// double still holds every place; larger values take the text route.
bool toScaled(double x, int scale, Int128& out) {
  if (!std::isfinite(x)) return false;
  if (exactlyScalable(x, scale)) {
    long double scaled = static_cast<long double>(x) * kTen.extended[scale];
    out = static_cast<Int128>(std::llroundl(scaled));
    return true;
  }
  return scaledFromText(x, scale, out);
}

// The double nearest to value * 10^-scale. Where both value and 10^scale are exact doubles, one
// IEEE division (correctly rounded) gives it; otherwise the decimal text is read back.
double fromScaled(Int128 value, int scale) {
  constexpr Int128 kExact = static_cast<Int128>(1) << 53;
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (value < kExact && value > -kExact && scale >= 0 && scale <= 22) {
    return static_cast<double>(static_cast<int64_t>(value)) / kPowers[scale];
  }
  bool negative = value < 0;
  if (negative) value = -value;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value != 0);
  std::string text = (negative ? "-" : "") + digits + "e-" + std::to_string(scale);
  return std::strtod(text.c_str(), nullptr);
}

struct SumState {
  Int128 scaled;      // the exact sum of the decimal inputs
  int64_t integer;    // the sum while every input is an integer
  double fallback;    // for inputs beyond the exact range
  bool any;
  bool allInteger;
  bool inexact;
};

void sumAdd(sqlite3_context* ctx, SumState* state, sqlite3_value* arg) {
  int type = sqlite3_value_numeric_type(arg);
  if (type == SQLITE_NULL) return;
  if (!state->any) state->allInteger = true;
  state->any = true;
  if (type == SQLITE_INTEGER) {
    int64_t v = sqlite3_value_int64(arg);
    if (state->allInteger && __builtin_add_overflow(state->integer, v, &state->integer)) {
      return sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type int.", -1);
    }
    if (__builtin_add_overflow(state->scaled, static_cast<Int128>(v) * kTen.exact[kSumScale], &state->scaled))
      state->inexact = true;
    state->fallback += static_cast<double>(v);
    return;
  }
  state->allInteger = false;
  double x = sqlite3_value_double(arg);
  Int128 scaled = 0;
  if (toScaled(x, kSumScale, scaled) && !__builtin_add_overflow(state->scaled, scaled, &state->scaled)) {
    // added exactly
  } else {
    state->inexact = true;
  }
  state->fallback += x;
}

// SQLite's aggregate context is only 8-byte aligned, too little for the 128-bit sum: the state is
// copied out of it and back.
void sumStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
  void* slot = sqlite3_aggregate_context(ctx, sizeof(SumState));
  if (!slot) return sqlite3_result_error_nomem(ctx);
  SumState copy;
  std::memcpy(&copy, slot, sizeof copy);
  sumAdd(ctx, &copy, argv[0]);
  std::memcpy(slot, &copy, sizeof copy);
}

void sumFinal(sqlite3_context* ctx) {
  void* slot = sqlite3_aggregate_context(ctx, 0);
  if (!slot) return sqlite3_result_null(ctx);
  SumState state;
  std::memcpy(&state, slot, sizeof state);
  if (!state.any) return sqlite3_result_null(ctx);
  if (state.allInteger) return sqlite3_result_int64(ctx, state.integer);
  sqlite3_result_double(ctx, state.inexact ? state.fallback : fromScaled(state.scaled, kSumScale));
}

// tav_round(x, scale): x rounded half away from zero to `scale` places, taken as the decimal it
// stands for (2.675 gives 2.68, though the double below 2.675 is what holds it).
void roundFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  int type = sqlite3_value_numeric_type(argv[0]);
  if (type == SQLITE_NULL) return sqlite3_result_null(ctx);
  int scale = sqlite3_value_int(argv[1]);
  // A decimal stays a decimal: 2 becomes 2.0, so that a division by it is not an integer one.
  if (type == SQLITE_INTEGER) return sqlite3_result_double(ctx, static_cast<double>(sqlite3_value_int64(argv[0])));
  if (type != SQLITE_FLOAT) return sqlite3_result_value(ctx, argv[0]);  // text that is no number: left to SQLite
  sqlite3_result_double(ctx, roundDecimal(sqlite3_value_double(argv[0]), scale));
}

}  // namespace

double roundDecimal(double x, int scale) {
  if (!std::isfinite(x) || scale < 0 || scale > 30) return x;
  // Away from a tie the long double product decides at once; near one, the decimal text does.
  if (exactlyScalable(x, scale)) {
    const long double scaled = static_cast<long double>(x) * kTen.extended[scale];
    const long double fraction = std::fabs(scaled - std::truncl(scaled));
    if (std::fabs(fraction - 0.5L) > 1e-6L) return fromScaled(static_cast<Int128>(std::llroundl(scaled)), scale);
  }
  Int128 scaled = 0;
  if (!scaledFromText(x, scale, scaled)) return x;
  return fromScaled(scaled, scale);
}

void registerDecimalFunctions(sqlite3* db) {
  int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  int rc = sqlite3_create_function_v2(db, "tav_sum", 1, flags, nullptr, nullptr, sumStep, sumFinal, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_create_function_v2(db, "tav_round", 2, flags, nullptr, roundFunction, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    throw plat::Error::database(kErrorSource, std::string("cannot register the decimal functions: ") + sqlite3_errmsg(db));
  }
}

}  // namespace dialect
