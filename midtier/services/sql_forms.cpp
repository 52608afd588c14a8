// The SQL forms of SQLite and of PostgreSQL.
#include "midtier/services/sql_forms.h"

#include "midtier/dialect/target.h"

namespace midtier {

std::string SqlForms::now() const {
  return server() ? "to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')" : "datetime('now', 'localtime')";
}

std::string SqlForms::greatest(std::string_view a, std::string_view b) const {
  return std::string(server() ? "greatest(" : "max(") + std::string(a) + ", " + std::string(b) + ")";
}

std::string SqlForms::daysBetween(std::string_view later, std::string_view earlier) const {
  if (server())
    return "(to_date(" + std::string(later) + ", 'YYYY-MM-DD') - to_date(" + std::string(earlier) + ", 'YYYY-MM-DD'))";
  return "CAST(julianday(" + std::string(later) + ") - julianday(" + std::string(earlier) + ") AS INTEGER)";
}

std::string SqlForms::exactSum(std::string_view real) const {
  if (server()) return "sum(CAST(" + std::string(real) + " AS numeric))";
  return "tav_sum(" + std::string(real) + ")";
}

std::string SqlForms::fixed2(std::string_view number) const {
  // SQLite's printf takes the double's decimal digits rounded to 16 significant ones, then
  // rounds half away from zero (18.124999999999996 prints 18.13) and keeps the sign of a
  // negative value that rounds to zero ("-0.00"). The server starts from the digits the double
  // prints as in full, not the 15 a cast to numeric keeps. The leading digit's place comes
  // from the double's log10: the numeric one costs ten times the rest of the row.
  if (server()) {
    const std::string x(number);
    const std::string real = "CAST(" + x + " AS double precision)";
    const std::string digits = "abs(CAST(CAST(" + real + " AS text) AS numeric))";
    const std::string sixteen = "CASE WHEN " + real + " = 0 THEN 0 ELSE round(" + digits +
                                ", CAST(15 - floor(log(abs(" + real + "))) AS integer)) END";
    return "(CASE WHEN (" + x + ") < 0 THEN '-' ELSE '' END || CAST(round(" + sixteen + ", 2) AS text))";
  }
  return "printf('%.2f', " + std::string(number) + ")";
}

std::string SqlForms::like(std::string_view text, std::string_view pattern) const {
  if (server()) return std::string(text) + " COLLATE \"default\" ILIKE " + std::string(pattern) + " ESCAPE '\\'";
  return std::string(text) + " LIKE " + std::string(pattern) + " ESCAPE '\\'";
}

std::string SqlForms::distinctList(std::string_view text) const {
  const std::string t(text);
  if (server()) return "string_agg(DISTINCT " + t + " COLLATE \"C\", ',' ORDER BY " + t + " COLLATE \"C\")";
  return "group_concat(DISTINCT " + t + ")";
}

std::string SqlForms::jsonIntegers(std::string_view array) const {
  if (server())
    return "SELECT CAST(value AS integer) AS value FROM json_array_elements_text(CAST(" + std::string(array) +
           " AS json))";
  return "SELECT value FROM json_each(" + std::string(array) + ")";
}

std::string_view SqlForms::caseless() const { return server() ? "COLLATE tav_ci" : "COLLATE NOCASE"; }

std::string_view SqlForms::binary() const { return server() ? "COLLATE \"C\"" : "COLLATE BINARY"; }

std::string SqlForms::caselessOrder(std::string_view text) const {
  if (server()) return "tav_fold(" + std::string(text) + ") COLLATE \"C\"";
  return std::string(text) + " COLLATE NOCASE";
}

std::string SqlForms::groupByDetermining(std::string_view key, std::string_view dependent) const {
  std::string out = " GROUP BY " + std::string(key);
  return server() ? out + ", " + std::string(dependent) : out;
}

std::string SqlForms::workTableExists(std::string_view name) const {
  if (server()) return "SELECT CASE WHEN to_regclass('" + workTable(name) + "') IS NULL THEN 0 ELSE 1 END";
  return "SELECT count(*) FROM sqlite_temp_master WHERE type = 'table' AND name = '" + std::string(name) + "'";
}

std::string SqlForms::workIndex(std::string_view index, std::string_view name, std::string_view column) const {
  if (server()) return "CREATE INDEX ON " + workTable(name) + " (" + std::string(column) + ")";
  return "CREATE INDEX temp.[" + std::string(index) + "] ON [" + std::string(name) + "] (" + std::string(column) + ")";
}

std::string SqlForms::contains(std::string_view text, std::string_view needle) const {
  if (server()) return "strpos(" + std::string(text) + " COLLATE \"C\", " + std::string(needle) + ") > 0";
  return "instr(" + std::string(text) + ", " + std::string(needle) + ") > 0";
}

std::string SqlForms::exclusiveLock() const {
  return server() ? "SELECT pg_advisory_xact_lock(CAST(?1 AS integer), CAST(?2 AS integer))" : "";
}

std::string SqlForms::groupBySorting() const { return server() ? "SET LOCAL enable_hashagg = off" : ""; }

std::string SqlForms::workTable(std::string_view name) const {
  const dialect::Target& target = server() ? dialect::postgresTarget() : dialect::sqliteTarget();
  std::string table(name);
  if (!target.foldsNames) return std::string(target.tempSchema) + ".[" + table + "]";
  for (char& c : table) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return std::string(target.tempSchema) + ".\"" + table + "\"";
}

}  // namespace midtier
