// Reading the values of a PGresult.
#include "midtier/pg/result.h"

#include <libpq-fe.h>

#include <charconv>

#include <fmt/format.h>

#include "platform/core/error.h"

namespace pg {

namespace {

// Type oids of the built-in types (pg_type.h is a server header).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700, kText = 25, kBpChar = 1042, kVarChar = 1043, kName = 19;

}  // namespace

void Result::Clear::operator()(pg_result* r) const { PQclear(r); }

Result::Result(pg_result* result) : result_(result) {}

int Result::rows() const { return result_ ? PQntuples(result_.get()) : 0; }
int Result::columns() const { return result_ ? PQnfields(result_.get()) : 0; }
std::string Result::columnName(int column) const { return PQfname(result_.get(), column); }

Kind Result::kind(int column) const {
  switch (PQftype(result_.get(), column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
      return Kind::Integer;
    case kFloat4:
    case kFloat8:
      return Kind::Real;
    case kNumeric:
      return Kind::Decimal;
    case kText:
    case kBpChar:
    case kVarChar:
    case kName:
      return Kind::Text;
    case kBool:
      return Kind::Boolean;
    default:
      return Kind::Other;
  }
}

int Result::scale(int column) const {
  if (PQftype(result_.get(), column) != kNumeric) return -1;
  const int mod = PQfmod(result_.get(), column);
  return mod < 4 ? -1 : (mod - 4) & 0xffff;  // typmod = ((precision << 16) | scale) + 4
}

bool Result::isNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }

std::string_view Result::text(int row, int column) const {
  return {PQgetvalue(result_.get(), row, column), static_cast<std::size_t>(PQgetlength(result_.get(), row, column))};
}

int64_t Result::getInt64(int row, int column) const {
  if (isNull(row, column)) return 0;
  const std::string_view t = text(row, column);
  if (t == "t" || t == "f") return t == "t";
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size()) {
    // numeric and float values with a fraction are not integers; whole ones are
    const double d = getDouble(row, column);
    if (d != static_cast<double>(static_cast<int64_t>(d)))
      throw plat::Error::typeMismatch("pg.Result", fmt::format("column {} holds {}, not an integer", columnName(column), t));
    return static_cast<int64_t>(d);
  }
  return value;
}

double Result::getDouble(int row, int column) const {
  if (isNull(row, column)) return 0;
  const std::string_view t = text(row, column);
  double value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size())
    throw plat::Error::typeMismatch("pg.Result", fmt::format("column {} holds {}, not a number", columnName(column), t));
  return value;
}

int64_t Result::affected() const {
  const char* n = result_ ? PQcmdTuples(result_.get()) : "";
  return *n ? std::stoll(n) : 0;
}

}  // namespace pg
