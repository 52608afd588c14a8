// Version 3 of the schema: names, numbers and codes compare without regard to case.
#include <cctype>
#include <string>

#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/schema_sql.h"
#include "midtier/db/statement.h"
#include "platform/core/error.h"

namespace db::schema {
namespace {

// The text columns that hold names, numbers, codes and notes. Dates stay BINARY: they are
// 'YYYY-MM-DD' text standing in for SQL Server's datetime, which has no collation.
struct TextColumns {
  std::string_view table;
  std::initializer_list<std::string_view> columns;
};

const TextColumns kCaseless[] = {
    {"t_Item", {"FNumber", "FShortNumber", "FFullNumber", "FName"}},
    {"t_UnitGroup", {"FNumber", "FName"}},
    {"t_MeasureUnit", {"FNumber", "FName"}},
    {"t_ICItem", {"FNumber", "FShortNumber", "FName", "FModel"}},
    {"t_Department", {"FNumber", "FName"}},
    {"t_Emp", {"FNumber", "FName"}},
    {"t_AuxItem", {"FNumber", "FName"}},
    {"t_organization", {"FNumber", "FName", "FRightUserID"}},
    {"t_supplier", {"FNumber", "FName", "FRightUserID"}},
    {"t_stock", {"FNumber", "FName", "FRightUserID"}},
    {"t_User", {"FName"}},
    {"SEOrder", {"FBillNo"}},
    {"ICMO", {"FBillNo", "FBatchNo", "FNote"}},
    {"ICStockBill", {"FBillNo"}},
    {"ICStockBillEntry", {"FBatchNo"}},
    {"cb_ProductPeriodCost", {"FBatchNo"}},
    {"cb_CostElementDef", {"FName"}},
    {"cb_CostElement", {"FBatchNo"}},
    {"t_SystemProfile", {"FCategory", "FKey", "FValue"}},
    {"t_RptFilterScheme", {"FName"}},
};

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The position after the last character before `at` that is neither blank nor part of a
// "--" comment.
std::size_t skipBlanksBackwards(const std::string& sql, std::size_t at) {
  for (;;) {
    while (at > 0 && std::isspace(static_cast<unsigned char>(sql[at - 1]))) --at;
    const std::size_t lineStart = at == 0 ? 0 : sql.rfind('\n', at - 1) + 1;  // npos + 1 == 0
    const std::size_t comment = sql.find("--", lineStart);
    if (comment == std::string::npos || comment >= at) return at;
    at = comment;
  }
}

// Adds " COLLATE NOCASE" after the type of `column` in a CREATE TABLE text: the column is the
// word that starts a definition (after '(' or ',' and blanks) and is followed by TEXT.
std::string withCaselessColumn(std::string sql, std::string_view table, std::string_view column) {
  for (std::size_t at = sql.find(column); at != std::string::npos; at = sql.find(column, at + 1)) {
    std::size_t before = skipBlanksBackwards(sql, at);
    if (before == 0 || (sql[before - 1] != '(' && sql[before - 1] != ',')) continue;
    std::size_t type = at + column.size();
    if (type < sql.size() && isWordChar(sql[type])) continue;
    while (type < sql.size() && std::isspace(static_cast<unsigned char>(sql[type]))) ++type;
    if (sql.compare(type, 4, "TEXT") != 0 || (type + 4 < sql.size() && isWordChar(sql[type + 4]))) continue;
    sql.insert(type + 4, " COLLATE NOCASE");
    return sql;
  }
  throw plat::Error::database("db.migrate", fmt::format("table {} has no text column {}", table, column));
}

}  // namespace

// The declared collation lives only in the table's CREATE text: the rows are stored the same
// under any collation, so the text is rewritten in place (no copy of a million tasks) and the
// indexes, which are ordered by it, are rebuilt. SQL Server refuses a case-only duplicate in a
// unique key under its usual collation; REINDEX refuses it here the same way.
void makeTextCaseless(Database& database) {
  const int64_t version = database.queryInt("PRAGMA schema_version");
  database.exec("PRAGMA writable_schema = ON");
  try {
    for (const TextColumns& entry : kCaseless) {
      std::string sql;
      {
        Statement read = database.prepare("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?");
        read.bind(1, std::string(entry.table));
        if (!read.step()) throw plat::Error::database("db.migrate", fmt::format("no table {}", entry.table));
        sql = read.getText(0);
      }
      for (std::string_view column : entry.columns) sql = withCaselessColumn(std::move(sql), entry.table, column);
      Statement write = database.prepare("UPDATE sqlite_schema SET sql = ? WHERE type = 'table' AND name = ?");
      write.bind(1, sql).bind(2, std::string(entry.table));
      write.run();
    }
    database.exec(fmt::format("PRAGMA schema_version = {}", version + 1));
  } catch (...) {
    database.exec("PRAGMA writable_schema = OFF");
    throw;
  }
  database.exec("PRAGMA writable_schema = OFF");
  for (const TextColumns& entry : kCaseless) database.exec(fmt::format("REINDEX {}", entry.table));
}

}  // namespace db::schema
