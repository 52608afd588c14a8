// A prepared INSERT for one table, reused for every row of a bulk load.
#pragma once

#include <string>
#include <string_view>

#include "midtier/db/database.h"
#include "midtier/db/statement.h"

namespace gen {

class Inserter {
 public:
  // `columns` is the comma-separated column list; one '?' is bound per column.
  Inserter(db::Database& database, std::string_view table, std::string_view columns)
      : statement_(database.prepare(buildSql(table, columns))) {}

  template <typename... Values>
  void row(const Values&... values) {
    statement_.bindAll(values...);
    statement_.run();
  }

 private:
  static std::string buildSql(std::string_view table, std::string_view columns) {
    std::string sql = "INSERT INTO ";
    sql.append(table).append(" (").append(columns).append(") VALUES (?");
    for (char c : columns)
      if (c == ',') sql += ",?";
    sql += ")";
    return sql;
  }

  db::Statement statement_;
};

}  // namespace gen
