// Prints, for every report variant on a large company, the rows, the time of `tavshoprpt run
// ... --format csv` end to end, the time of hand-written SQL writing the same rows as CSV
// (bench/hand_sql/ for SQLite, bench/hand_sql_pg/ for a PostgreSQL company), their ratio and the
// program's peak memory beside the CSV size. Each measurement runs in a child process,
// alternating project and hand runs; times are the minimum and median of the runs. On a server
// the cpu ratio counts the clients' time only; the wall time holds the server's.
//
//   report_table --db /work/data/company.db [--tavshoprpt build/tavshoprpt] [--runs 3] [--only Rpt406]
//   report_table --db postgresql://user@host:port/dbname ...
#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>

namespace {

namespace fs = std::filesystem;

struct Variant {
  const char* name;
  std::vector<std::string> args;  // after "run"
  const char* handSql;            // file in bench/hand_sql and bench/hand_sql_pg
  // (year, period) bound to ?1, ?2 (on a server: put for $1, $2) per run of the SQL; none: once
  std::vector<std::pair<int, int>> periods;
  // The report ends with a total row ("合计") that the hand SQL leaves out: the project adds up
  // its columns while writing, a cost too small to show.
  bool totalRow = false;
};

std::vector<std::pair<int, int>> periods(int year, int period, int count) {
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < count; ++i) {
    out.emplace_back(year, period);
    if (++period > 12) period = 1, ++year;
  }
  return out;
}

std::vector<Variant> variants() {
  return {
      {"Rpt401 plain", {"401"}, "rpt401_plain.sql", {}},
      {"Rpt401 by department", {"401", "--set", "GroupBy=1", "--set", "SumMode=2"}, "rpt401_dept.sql", {}},
      {"Rpt400", {"400"}, "rpt400.sql", {}, true},
      {"Rpt410", {"410"}, "rpt410.sql", {}},
      {"Rpt406", {"406"}, "rpt406.sql", {}, true},
      {"Rpt499 plain, 12 periods",
       {"499", "--set", "BYear=2025", "--set", "BPeriod=12", "--set", "EYear=2026", "--set", "EPeriod=11"},
       "rpt499_plain.sql",
       periods(2025, 12, 12)},
  };
}

struct Run {
  double seconds = 0;
  double cpu = 0;  // user + system time: on a busy machine it compares better than wall time
  long peakKiB = 0;
  bool ok = false;
};

// Runs `child` in a forked process and measures its wall time and peak resident memory.
template <typename F>
Run measure(F child) {
  std::fflush(nullptr);  // the child must not print what the parent has buffered
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    int rc = 1;
    try {
      rc = child();
    } catch (...) {
    }
    std::fflush(nullptr);
    ::_exit(rc);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  Run run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.peakKiB = usage.ru_maxrss;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void csvField(std::FILE* out, const unsigned char* text, int size) {
  bool quote = false;
  for (int i = 0; i < size && !quote; ++i) quote = text[i] == ',' || text[i] == '"' || text[i] == '\n' || text[i] == '\r';
  if (!quote) {
    std::fwrite(text, 1, static_cast<size_t>(size), out);
    return;
  }
  std::fputc('"', out);
  for (int i = 0; i < size; ++i) {
    if (text[i] == '"') std::fputc('"', out);
    std::fputc(text[i], out);
  }
  std::fputc('"', out);
}

// The hand-written SQL, its rows written as CSV the way the sqlite3 shell does: straight from
// the statement, nothing held.
int runHand(const std::string& db, const std::string& sql, const std::vector<std::pair<int, int>>& binds,
            const fs::path& out) {
  sqlite3* handle = nullptr;
  if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 2;
  sqlite3_exec(handle, "PRAGMA threads = 2", nullptr, nullptr, nullptr);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", sqlite3_errmsg(handle));
    return 3;
  }
  std::FILE* file = std::fopen(out.c_str(), "wb");
  if (!file) return 4;
  std::vector<std::pair<int, int>> runs = binds.empty() ? std::vector<std::pair<int, int>>{{0, 0}} : binds;
  for (const auto& [year, period] : runs) {
    sqlite3_reset(stmt);
    if (!binds.empty()) {
      sqlite3_bind_int(stmt, 1, year);
      sqlite3_bind_int(stmt, 2, period);
    }
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) {
        if (c) std::fputc(',', file);
        if (sqlite3_column_type(stmt, c) == SQLITE_NULL) continue;
        const unsigned char* text = sqlite3_column_text(stmt, c);
        csvField(file, text, sqlite3_column_bytes(stmt, c));
      }
      std::fputs("\r\n", file);
    }
  }
  std::fclose(file);
  sqlite3_finalize(stmt);
  sqlite3_close(handle);
  return 0;
}

// The hand-written PostgreSQL, its rows streamed as CSV by the server (COPY ... TO STDOUT, as
// psql's \copy does). COPY takes no parameters, so the period goes into the text.
int runHandPg(const std::string& url, const std::string& sql, const std::vector<std::pair<int, int>>& binds,
              const fs::path& out) {
  PGconn* conn = PQconnectdb(url.c_str());
  if (PQstatus(conn) != CONNECTION_OK) {
    std::fprintf(stderr, "%s\n", PQerrorMessage(conn));
    return 2;
  }
  std::FILE* file = std::fopen(out.c_str(), "wb");
  if (!file) return 4;
  std::vector<std::pair<int, int>> runs = binds.empty() ? std::vector<std::pair<int, int>>{{0, 0}} : binds;
  for (const auto& [year, period] : runs) {
    std::string text = sql;
    for (const auto& [name, value] : {std::pair{"$1", year}, std::pair{"$2", period}})
      for (std::size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, 2, std::to_string(value));
    while (!text.empty() && (text.back() == '\n' || text.back() == ';')) text.pop_back();
    PGresult* started = PQexec(conn, ("COPY (" + text + ") TO STDOUT WITH (FORMAT csv)").c_str());
    if (PQresultStatus(started) != PGRES_COPY_OUT) {
      std::fprintf(stderr, "%s\n", PQerrorMessage(conn));
      return 3;
    }
    PQclear(started);
    char* row = nullptr;
    int size;
    while ((size = PQgetCopyData(conn, &row, 0)) > 0) {
      std::fwrite(row, 1, static_cast<size_t>(size), file);
      PQfreemem(row);
    }
    PGresult* ended = PQgetResult(conn);
    const bool ok = PQresultStatus(ended) == PGRES_COMMAND_OK;
    PQclear(ended);
    if (!ok) {
      std::fprintf(stderr, "%s\n", PQerrorMessage(conn));
      return 3;
    }
    while (PGresult* extra = PQgetResult(conn)) PQclear(extra);
  }
  std::fclose(file);
  PQfinish(conn);
  return 0;
}

long countLines(const fs::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return -1;
  long lines = 0;
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) lines += std::count(buffer, buffer + n, '\n');
  std::fclose(file);
  return lines;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::string db, program = "build/tavshoprpt", only;
  int runs = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--db") db = argv[i + 1];
    else if (key == "--tavshoprpt") program = argv[i + 1];
    else if (key == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    else if (key == "--only") only = argv[i + 1];
  }
  const bool server = db.starts_with("postgresql://") || db.starts_with("postgres://");
  if (db.empty() || (!server && !fs::exists(db))) {
    std::fprintf(stderr, "usage: report_table --db FILE|postgresql://... [--tavshoprpt PATH] [--runs N] [--only NAME]\n");
    return 2;
  }
  const fs::path work = fs::temp_directory_path() / fmt::format("tav-report-table-{}", ::getpid());
  fs::create_directories(work);
  const fs::path projectCsv = work / "project.csv", handCsv = work / "hand.csv";

  fmt::print("{:<26} {:>10} {:>10} {:>10} {:>10} {:>12} {:>10} {:>12} {:>10}\n", "variant", "rows", "hand rows",
             "project s", "hand s", "ratio (min)", "cpu ratio", "peak memory", "CSV size");
  for (const Variant& v : variants()) {
    if (!only.empty() && std::string(v.name).find(only) == std::string::npos) continue;
    const std::string sql = readFile(fs::path(server ? TAV_HAND_SQL_PG_DIR : TAV_HAND_SQL_DIR) / v.handSql);
    std::vector<double> project, hand, projectCpu, handCpu;
    long peak = 0;
    bool failed = false;
    for (int r = 0; r < runs && !failed; ++r) {
      const Run p = measure([&] {
        std::vector<std::string> args{program, "run"};
        args.insert(args.end(), v.args.begin(), v.args.end());
        for (const char* a : {"--db", db.c_str(), "--format", "csv", "--out", projectCsv.c_str(), "--quiet"}) args.push_back(a);
        std::vector<char*> raw;
        for (std::string& a : args) raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(program.c_str(), raw.data());
        return 127;
      });
      const Run h = measure([&] {
        return server ? runHandPg(db, sql, v.periods, handCsv) : runHand(db, sql, v.periods, handCsv);
      });
      failed = !p.ok || !h.ok;
      project.push_back(p.seconds);
      hand.push_back(h.seconds);
      projectCpu.push_back(p.cpu);
      handCpu.push_back(h.cpu);
      peak = std::max(peak, p.peakKiB);
    }
    if (failed) {
      fmt::print("{:<26} failed (project or hand run)\n", v.name);
      continue;
    }
    const double best = *std::min_element(project.begin(), project.end());
    const double bestHand = *std::min_element(hand.begin(), hand.end());
    const double cpuRatio = *std::min_element(projectCpu.begin(), projectCpu.end()) /
                            *std::min_element(handCpu.begin(), handCpu.end());
    const long rows = countLines(projectCsv) - 1, handRows = countLines(handCsv) + (v.totalRow ? 1 : 0);
    fmt::print("{:<26} {:>10} {:>10} {:>10.2f} {:>10.2f} {:>12.2f} {:>10.2f} {:>8.0f} MiB {:>6.0f} MiB   (medians {:.2f} / {:.2f}){}\n",
               v.name, rows, handRows, best, bestHand, best / bestHand, cpuRatio, static_cast<double>(peak) / 1024,
               static_cast<double>(fs::file_size(projectCsv)) / (1024 * 1024), median(project), median(hand),
               rows == handRows ? "" : "  ROWS DIFFER");
    std::fflush(stdout);
  }
  std::error_code ignored;
  fs::remove_all(work, ignored);
  return 0;
}
