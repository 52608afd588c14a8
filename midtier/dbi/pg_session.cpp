// Statements, rows and transactions of the PostgreSQL session.
#include "midtier/dbi/pg_session.h"

#include <cctype>

namespace dbi {
namespace {

// The rows of a result the client already holds.
class ResultRows final : public Rows {
 public:
  explicit ResultRows(pg::Result result) : result_(std::move(result)) {}
  int columnCount() const override { return result_.columns(); }
  std::string columnName(int column) const override { return result_.columnName(column); }
  ColumnKind declared(int column) const override {
    switch (result_.kind(column)) {
      case pg::Kind::Integer:
      case pg::Kind::Boolean: return ColumnKind::Integer;
      case pg::Kind::Real:
      case pg::Kind::Decimal: return ColumnKind::Decimal;
      case pg::Kind::Text: return ColumnKind::Text;
      case pg::Kind::Other: break;
    }
    return ColumnKind::Unknown;
  }
  bool next() override { return ++row_ < result_.rows(); }
  ValueKind kind(int column) const override {
    if (result_.isNull(row_, column)) return ValueKind::Null;
    switch (result_.kind(column)) {
      case pg::Kind::Integer:
      case pg::Kind::Real:
      case pg::Kind::Decimal:
      case pg::Kind::Boolean: return ValueKind::Number;
      default: return ValueKind::Text;
    }
  }
  double number(int column) const override {
    if (result_.kind(column) == pg::Kind::Boolean) return result_.text(row_, column) == "t" ? 1 : 0;
    return result_.getDouble(row_, column);
  }
  std::string_view text(int column) const override { return result_.text(row_, column); }

 private:
  pg::Result result_;
  int row_ = -1;
};

}  // namespace

std::string dollarParameters(std::string_view sql) {
  std::string out;
  out.reserve(sql.size());
  int bare = 0;  // "?" without a number takes the next one
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      const std::size_t end = sql.find(c, i + 1);
      const std::size_t stop = end == std::string_view::npos ? sql.size() : end + 1;
      out.append(sql.substr(i, stop - i));
      i = stop - 1;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t end = sql.find('\n', i);
      const std::size_t stop = end == std::string_view::npos ? sql.size() : end;
      out.append(sql.substr(i, stop - i));
      i = stop - 1;
    } else if (c == '?' && i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
      out += '$';
    } else if (c == '?') {
      out += '$' + std::to_string(++bare);
    } else {
      out += c;
    }
  }
  return out;
}

std::unique_ptr<Rows> PgSession::query(std::string_view sql, const Values& params) {
  pg::Params values;
  for (const Value& value : params) {
    std::visit(
        [&](const auto& v) {
          if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>)
            values.add(nullptr);
          else
            values.add(v);
        },
        value);
  }
  return std::make_unique<ResultRows>(connection_.query(dollarParameters(sql), values));
}

void PgSession::begin() {
  connection_.exec(depth_ == 0 ? std::string("BEGIN") : "SAVEPOINT tav_s" + std::to_string(depth_));
  ++depth_;
}

void PgSession::commit() {
  if (depth_ == 0) return;
  --depth_;
  connection_.exec(depth_ == 0 ? std::string("COMMIT") : "RELEASE SAVEPOINT tav_s" + std::to_string(depth_));
}

void PgSession::rollback() {
  if (depth_ == 0) return;
  --depth_;
  if (depth_ == 0) {
    connection_.exec("ROLLBACK");
  } else {
    const std::string name = "tav_s" + std::to_string(depth_);
    connection_.exec("ROLLBACK TO SAVEPOINT " + name + "; RELEASE SAVEPOINT " + name);
  }
}

}  // namespace dbi
