// The rows of one PostgreSQL statement, held by the client (a PGresult).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct pg_result;

namespace pg {

// How a column's values read in C++: PostgreSQL's type of the column mapped to the few
// kinds the record sets know.
enum class Kind { Integer, Real, Decimal, Text, Boolean, Other };

// Rows and columns are 0-based. Texts are the server's text form of each value (UTF-8).
class Result {
 public:
  Result() = default;
  explicit Result(pg_result* result);

  [[nodiscard]] int rows() const;
  [[nodiscard]] int columns() const;
  [[nodiscard]] std::string columnName(int column) const;
  [[nodiscard]] Kind kind(int column) const;
  // The column's declared scale for numeric(p,s), -1 when it has none.
  [[nodiscard]] int scale(int column) const;
  [[nodiscard]] bool isNull(int row, int column) const;
  // Valid while the Result lives; null gives "".
  [[nodiscard]] std::string_view text(int row, int column) const;
  // Throw plat::Error (type mismatch) when the text is not a number; null gives 0.
  [[nodiscard]] int64_t getInt64(int row, int column) const;
  [[nodiscard]] double getDouble(int row, int column) const;
  // Rows changed by an INSERT, UPDATE, DELETE or COPY.
  [[nodiscard]] int64_t affected() const;

  [[nodiscard]] pg_result* handle() const { return result_.get(); }

 private:
  struct Clear {
    void operator()(pg_result* r) const;
  };
  std::unique_ptr<pg_result, Clear> result_;
};

}  // namespace pg
