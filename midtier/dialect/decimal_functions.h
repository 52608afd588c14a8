// Decimal arithmetic for translated statements (tav_sum, tav_round) and for the services.
#pragma once

struct sqlite3;

namespace dialect {

// Registers tav_sum(x), SUM with an exact decimal total (integers stay integers), and
// tav_round(x, scale), rounding half away from zero as decimal(p, scale) stores do.
void registerDecimalFunctions(sqlite3* db);

// The double nearest to x, taken as the decimal it stands for, rounded half away from zero to
// `scale` places.
[[nodiscard]] double roundDecimal(double x, int scale);

}  // namespace dialect
