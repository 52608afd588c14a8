// Statements, rows and transactions of the PostgreSQL session.
#include "midtier/dbi/pg_session.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "midtier/pg/row_stream.h"

namespace dbi {
namespace {

// The rows of a statement as the server sends them.
class StreamRows final : public Rows {
 public:
  StreamRows(pg::Connection& connection, std::string_view sql, const pg::Params& params)
      : stream_(connection, sql, params) {
    kinds_.reserve(static_cast<std::size_t>(stream_.columns()));
    for (int c = 0; c < stream_.columns(); ++c) kinds_.push_back(stream_.kind(c));
  }
  int columnCount() const override { return stream_.columns(); }
  std::string columnName(int column) const override { return stream_.columnName(column); }
  ColumnKind declared(int column) const override {
    switch (kindOf(column)) {
      case pg::Kind::Integer:
      case pg::Kind::Boolean: return ColumnKind::Integer;
      case pg::Kind::Real:
      case pg::Kind::Decimal: return ColumnKind::Decimal;
      case pg::Kind::Text: return ColumnKind::Text;
      case pg::Kind::Other: break;
    }
    return ColumnKind::Unknown;
  }
  bool next() override { return stream_.next(); }
  ValueKind kind(int column) const override {
    if (stream_.isNull(column)) return ValueKind::Null;
    switch (kindOf(column)) {
      case pg::Kind::Integer:
      case pg::Kind::Real:
      case pg::Kind::Decimal:
      case pg::Kind::Boolean: return ValueKind::Number;
      default: return ValueKind::Text;
    }
  }
  double number(int column) const override {
    if (kindOf(column) == pg::Kind::Boolean) return stream_.text(column) == "t" ? 1 : 0;
    return stream_.getDouble(column);
  }
  std::string_view text(int column) const override { return stream_.text(column); }

 private:
  pg::Kind kindOf(int column) const { return kinds_[static_cast<std::size_t>(column)]; }

  pg::RowStream stream_;
  std::vector<pg::Kind> kinds_;
};

}  // namespace

std::string dollarParameters(std::string_view sql) {
  std::string out;
  out.reserve(sql.size());
  int highest = 0;  // "?" without a number takes the one after the highest so far, as in SQLite
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
      std::size_t end = i + 1;
      int number = 0;
      while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end])) && number < 100000)
        number = number * 10 + (sql[end++] - '0');
      highest = std::max(highest, number);
      out += '$';
      out.append(sql.substr(i + 1, end - i - 1));
      i = end - 1;
    } else if (c == '?') {
      out += '$' + std::to_string(++highest);
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

pg::Params serverParams(const Values& params) {
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
  return values;
}

}  // namespace

std::unique_ptr<Rows> PgSession::query(std::string_view sql, const Values& params) {
  return std::make_unique<StreamRows>(connection_, dollarParameters(sql), serverParams(params));
}

int64_t PgSession::change(std::string_view sql, const Values& params) {
  return connection_.execute(dollarParameters(sql), serverParams(params));
}

std::vector<ColumnDeclaration> PgSession::columnsOf(std::string_view sqlName) {
  std::vector<ColumnDeclaration> columns;
  std::unique_ptr<Rows> rows =
      query("SELECT attname, format_type(atttypid, atttypmod) FROM pg_attribute WHERE attrelid = to_regclass(?1) "
            "AND attnum > 0 AND NOT attisdropped ORDER BY attnum",
            {std::string(sqlName)});
  while (rows->next()) columns.push_back({std::string(rows->text(0)), std::string(rows->text(1))});
  return columns;
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
