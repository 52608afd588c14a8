// The SQLite and PostgreSQL targets, and the helper functions PostgreSQL needs.
#include "midtier/dialect/target.h"

#include <array>
#include <utility>

namespace dialect {

const Target& sqliteTarget() {
  static const Target target{TargetKind::SQLite, "TEXT COLLATE NOCASE", "INTEGER", "REAL", "", false, false,
                             "temp", "rowid", false, true, true, "COLLATE NOCASE", true, "", "", ""};
  return target;
}

const Target& postgresTarget() {
  static const Target target{TargetKind::PostgreSQL, "text COLLATE tav_ci", "integer", "double precision",
                             "numeric", true, true, "pg_temp", "ctid", true, false, false, "", false,
                             "tav_fold({0}) COLLATE \"C\"", "sum({0})", "sum(CAST({0} AS numeric))"};
  return target;
}

std::string_view functionPattern(const Target& target, std::string_view name) {
  if (target.kind == TargetKind::SQLite) return {};
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kPostgres = {{
      {"isnull", "coalesce({0}, {1})"},
      // PostgreSQL's substr counts from a start below 1 as SQL Server does, and refuses a
      // negative length as it does.
      {"substring", "substr({0}, CAST({1} AS integer), CAST({2} AS integer))"},
      // A case-insensitive collation supports no substring search; REPLACE matches case.
      {"replace", "replace(({0}) COLLATE \"default\", {1}, {2})"},
  }};
  for (const auto& [sqlServer, pattern] : kPostgres)
    if (sqlServer == name) return pattern;
  return {};
}

std::string postgresFunctions() {
  // PARALLEL SAFE: a query that calls a function not so marked never runs on parallel workers,
  // even where the function is inlined.
  return R"SQL(
CREATE OR REPLACE FUNCTION tav_fold(t text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT translate(t COLLATE "C", 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz') $$;
CREATE OR REPLACE FUNCTION tav_charindex(needle text, haystack text, start bigint DEFAULT 1) RETURNS bigint
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT CASE WHEN needle = '' THEN 0
  ELSE coalesce(nullif(strpos(substr(tav_fold(haystack), CAST(greatest(start, 1) AS integer)) COLLATE "C",
                              tav_fold(needle) COLLATE "C"), 0)
                + CAST(greatest(start, 1) AS integer) - 1, 0) END $$;
CREATE OR REPLACE FUNCTION tav_round(x numeric, places integer) RETURNS numeric LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT round(x, places) $$;
CREATE OR REPLACE FUNCTION tav_round(x double precision, places integer) RETURNS numeric LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT round(CAST(x AS numeric), places) $$;
CREATE OR REPLACE AGGREGATE tav_sum(smallint) (SFUNC = int2_sum, STYPE = bigint);
CREATE OR REPLACE AGGREGATE tav_sum(integer) (SFUNC = int4_sum, STYPE = bigint);
CREATE OR REPLACE AGGREGATE tav_sum(bigint) (SFUNC = int8pl, STYPE = bigint);
-- The built-in sum's own accumulator: numeric_add as the transition allocates a value per row.
CREATE OR REPLACE AGGREGATE tav_sum(numeric) (SFUNC = numeric_avg_accum, STYPE = internal, FINALFUNC = numeric_sum,
  COMBINEFUNC = numeric_avg_combine, SERIALFUNC = numeric_avg_serialize, DESERIALFUNC = numeric_avg_deserialize,
  PARALLEL = SAFE);
-- PL/pgSQL: an aggregate's transition function in SQL is never inlined and costs twice as much a row.
CREATE OR REPLACE FUNCTION tav_sum_exact(s numeric, x double precision) RETURNS numeric LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS
$$ BEGIN RETURN CASE WHEN x IS NULL THEN s ELSE coalesce(s, 0) + CAST(x AS numeric) END; END $$;
CREATE OR REPLACE AGGREGATE tav_sum(double precision) (SFUNC = tav_sum_exact, STYPE = numeric);
CREATE OR REPLACE FUNCTION tav_int(x numeric) RETURNS bigint LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT CAST(trunc(x) AS bigint) $$;
CREATE OR REPLACE FUNCTION tav_int(x double precision) RETURNS bigint LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT CAST(trunc(x) AS bigint) $$;
CREATE OR REPLACE FUNCTION tav_int(x bigint) RETURNS bigint LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT x $$;
CREATE OR REPLACE FUNCTION tav_int(x text) RETURNS bigint LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT CASE WHEN btrim(x) = '' THEN 0 ELSE CAST(trunc(CAST(x AS numeric)) AS bigint) END $$;
CREATE OR REPLACE FUNCTION tav_add(a text, b text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT a || b $$;
CREATE OR REPLACE FUNCTION tav_add(a numeric, b numeric) RETURNS numeric LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT a + b $$;
CREATE OR REPLACE FUNCTION tav_add(a bigint, b bigint) RETURNS bigint LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT a + b $$;
CREATE OR REPLACE FUNCTION tav_add(a double precision, b double precision) RETURNS double precision
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT a + b $$;
CREATE OR REPLACE FUNCTION tav_add(a text, b numeric) RETURNS numeric LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT CAST(a AS numeric) + b $$;
CREATE OR REPLACE FUNCTION tav_add(a numeric, b text) RETURNS numeric LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT a + CAST(b AS numeric) $$;
)SQL";
}

}  // namespace dialect
