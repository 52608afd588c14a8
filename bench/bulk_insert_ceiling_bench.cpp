// The ceiling for the generator: SQLite's bulk insert of the generator's very rows, with the
// cost of making them taken out. The rows of one company are recorded in memory first, then
// written into a new file the way the generator writes them (same schema and pragmas, one
// transaction, one prepared INSERT per table reused for every row, texts bound without a copy,
// report indexes built after the load, ANALYZE at the end), and each stage is timed.
//
//   bulk_insert_ceiling_bench [--tasks N] [--seed S] [--dir DIR] [--cache-mib M] [--temp-memory 1]
//                             [--rows-per-insert R --window W] [--keep-index NAME]...
//
// --cache-mib and --temp-memory try other page cache sizes and an in-memory sorter for the build;
// --rows-per-insert holds W rows, then writes them table by table, R rows per INSERT;
// --keep-index loads into that report index instead of building it after the load.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/generator/generator.h"
#include "midtier/generator/row_writer.h"
#include "midtier/generator/world.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor time of the whole process (the sorter's threads too): on a shared machine it says
// what a stage costs when the wall clock also counts others' work.
double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Every row of a run in the order it was written: which table, then its cells. Texts are
// copied into one arena; a cell holds the integer, the double's bits or the text's place.
class RowLog final : public gen::BulkLoader {
 public:
  enum Tag : uint8_t { Null, Integer, Real, Text };

  struct Table {
    std::string name, columns;
    int64_t rows = 0;
  };

  std::unique_ptr<gen::RowWriter> open(std::string_view table, std::string_view columns) override {
    tables_.push_back({std::string(table), std::string(columns)});
    return std::make_unique<Writer>(*this, static_cast<uint16_t>(tables_.size() - 1));
  }

  const std::vector<Table>& tables() const { return tables_; }
  int64_t rows() const { return static_cast<int64_t>(rowTables_.size()); }

  // Calls `row(table, tags, cells)` for every row in order.
  template <typename F>
  void replay(F&& row) const {
    std::size_t at = 0;
    for (uint16_t table : rowTables_) {
      const std::size_t count = widths_[table];
      row(table, &tags_[at], &cells_[at]);
      at += count;
    }
  }
  std::string_view text(uint64_t cell) const { return std::string_view(arena_).substr(cell >> 16, cell & 0xffff); }

 private:
  class Writer final : public gen::RowWriter {
   public:
    Writer(RowLog& log, uint16_t table) : log_(log), table_(table) {}
    void write(std::span<const gen::Value> values) override { log_.add(table_, values); }

   private:
    RowLog& log_;
    uint16_t table_;
  };

  void add(uint16_t table, std::span<const gen::Value> values) {
    if (widths_.size() <= table) widths_.resize(table + 1u);
    widths_[table] = values.size();
    ++tables_[table].rows;
    rowTables_.push_back(table);
    for (const gen::Value& value : values) {
      uint64_t cell = 0;
      Tag tag = Null;
      if (const auto* i = std::get_if<int64_t>(&value)) {
        tag = Integer;
        cell = static_cast<uint64_t>(*i);
      } else if (const auto* d = std::get_if<double>(&value)) {
        tag = Real;
        std::memcpy(&cell, d, sizeof cell);
      } else if (const auto* s = std::get_if<std::string_view>(&value)) {
        tag = Text;
        if (s->size() > 0xffff) throw std::length_error("a text longer than the row log keeps");
        cell = static_cast<uint64_t>(arena_.size()) << 16 | s->size();
        arena_.append(*s);
      }
      tags_.push_back(tag);
      cells_.push_back(cell);
    }
  }

  std::vector<Table> tables_;
  std::vector<std::size_t> widths_;
  std::vector<uint16_t> rowTables_;
  std::vector<uint8_t> tags_;
  std::vector<uint64_t> cells_;
  std::string arena_;
};

void check(int rc, sqlite3* handle, std::string_view what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
    throw std::runtime_error(fmt::format("{}: {}", what, sqlite3_errmsg(handle)));
}

std::string insertSql(const RowLog::Table& table, int rows) {
  std::string one = "(?";
  for (char c : table.columns)
    if (c == ',') one += ",?";
  one += ")";
  std::string sql = fmt::format("INSERT INTO {} ({}) VALUES {}", table.name, table.columns, one);
  for (int r = 1; r < rows; ++r) sql += "," + one;
  return sql;
}

// Binds one recorded row to parameters offset + 1 .. offset + width.
void bindRow(const RowLog& log, sqlite3_stmt* stmt, int offset, int width, const uint8_t* tags, const uint64_t* cells) {
  for (int i = 0; i < width; ++i) {
    const int at = offset + i + 1;
    switch (tags[i]) {
      case RowLog::Integer:
        sqlite3_bind_int64(stmt, at, static_cast<sqlite3_int64>(cells[i]));
        break;
      case RowLog::Real: {
        double d;
        std::memcpy(&d, &cells[i], sizeof d);
        sqlite3_bind_double(stmt, at, d);
        break;
      }
      case RowLog::Text: {
        const std::string_view text = log.text(cells[i]);
        sqlite3_bind_text(stmt, at, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        break;
      }
      default:
        sqlite3_bind_null(stmt, at);
    }
  }
}

struct Timings {
  double load = 0, indexes = 0, analyze = 0;           // wall clock
  double loadCpu = 0, indexesCpu = 0, analyzeCpu = 0;  // processor
  std::vector<std::pair<std::string, double>> eachIndex;  // wall clock
};

struct Settings {
  int64_t cacheMib = 256;
  bool tempMemory = false;
  int rowsPerInsert = 1;      // rows of one table per INSERT statement
  std::size_t window = 1;     // rows held before they are written, grouped by table
  std::vector<std::string> keep;  // report indexes kept during the load instead of built after it
};

// Writes the recorded rows into a new file at `path` as the generator does.
Timings writeFile(const RowLog& log, const std::string& path, const Settings& settings) {
  Timings timings;
  db::Database database = db::Database::create(path);
  database.exec("PRAGMA journal_mode = OFF; PRAGMA page_size = 8192");
  db::migrate(database);
  database.exec(fmt::format("PRAGMA synchronous = OFF; PRAGMA cache_size = -{}; PRAGMA foreign_keys = OFF; PRAGMA threads = 2",
                            settings.cacheMib * 1024));
  if (settings.tempMemory) database.exec("PRAGMA temp_store = MEMORY");
  sqlite3* handle = database.handle();
  Clock::time_point start = Clock::now();
  double cpu = cpuSeconds();
  database.exec("BEGIN");
  for (const db::IndexDefinition& index : db::reportIndexes())
    if (std::find(settings.keep.begin(), settings.keep.end(), index.name) == settings.keep.end())
      database.exec(fmt::format("DROP INDEX {}", index.name));
  // inserts[table][n]: the statement for n rows of the table, prepared when first needed.
  std::vector<std::vector<sqlite3_stmt*>> inserts(log.tables().size());
  const auto statement = [&](uint16_t table, int rows) {
    std::vector<sqlite3_stmt*>& sized = inserts[table];
    if (sized.size() <= static_cast<std::size_t>(rows)) sized.resize(static_cast<std::size_t>(rows) + 1, nullptr);
    sqlite3_stmt*& stmt = sized[static_cast<std::size_t>(rows)];
    if (!stmt) {
      check(sqlite3_prepare_v3(handle, insertSql(log.tables()[table], rows).c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt,
                               nullptr),
            handle, log.tables()[table].name);
    }
    return stmt;
  };
  struct Pending {
    const uint8_t* tags;
    const uint64_t* cells;
  };
  std::vector<std::vector<Pending>> pending(log.tables().size());
  std::size_t held = 0;
  std::vector<uint16_t> touched;  // tables with held rows
  // Writes the held rows table by table, `rowsPerInsert` at a time: each table's rows keep
  // their order, which is all that decides the data.
  const auto writeHeld = [&] {
    for (const uint16_t table : touched) {
      const std::vector<Pending>& rows = pending[table];
      for (std::size_t first = 0; first < rows.size();) {
        const auto n = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(settings.rowsPerInsert), rows.size() - first));
        sqlite3_stmt* stmt = statement(table, n);
        const int width = sqlite3_bind_parameter_count(stmt) / n;
        for (int r = 0; r < n; ++r) bindRow(log, stmt, r * width, width, rows[first + static_cast<std::size_t>(r)].tags,
                                            rows[first + static_cast<std::size_t>(r)].cells);
        check(sqlite3_step(stmt), handle, "insert");
        sqlite3_reset(stmt);
        first += static_cast<std::size_t>(n);
      }
      pending[table].clear();
    }
    held = 0;
    touched.clear();
  };
  log.replay([&](uint16_t table, const uint8_t* tags, const uint64_t* cells) {
    if (pending[table].empty()) touched.push_back(table);
    pending[table].push_back({tags, cells});
    if (++held == settings.window) writeHeld();
  });
  writeHeld();
  for (const std::vector<sqlite3_stmt*>& sized : inserts)
    for (sqlite3_stmt* stmt : sized) sqlite3_finalize(stmt);
  timings.load = secondsSince(start);
  timings.loadCpu = cpuSeconds() - cpu;
  start = Clock::now();
  cpu = cpuSeconds();
  for (const db::IndexDefinition& index : db::reportIndexes()) {
    if (std::find(settings.keep.begin(), settings.keep.end(), index.name) != settings.keep.end()) continue;
    const Clock::time_point one = Clock::now();
    database.exec(index.sql);
    timings.eachIndex.push_back({std::string(index.name), secondsSince(one)});
  }
  database.exec("COMMIT");
  timings.indexes = secondsSince(start);
  timings.indexesCpu = cpuSeconds() - cpu;
  start = Clock::now();
  cpu = cpuSeconds();
  database.exec("PRAGMA analysis_limit = 1000; ANALYZE; PRAGMA analysis_limit = 0");
  timings.analyze = secondsSince(start);
  timings.analyzeCpu = cpuSeconds() - cpu;
  return timings;
}

}  // namespace

int main(int argc, char** argv) {
  gen::Options options{.tasks = 1'000'000, .seed = 7};
  std::filesystem::path dir = std::filesystem::temp_directory_path();
  Settings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view flag = argv[i];
    if (flag == "--tasks") options.tasks = std::stoll(argv[i + 1]);
    else if (flag == "--seed") options.seed = std::stoull(argv[i + 1]);
    else if (flag == "--dir") dir = argv[i + 1];
    else if (flag == "--cache-mib") settings.cacheMib = std::stoll(argv[i + 1]);
    else if (flag == "--temp-memory") settings.tempMemory = std::string_view(argv[i + 1]) == "1";
    else if (flag == "--rows-per-insert") settings.rowsPerInsert = std::stoi(argv[i + 1]);
    else if (flag == "--window") settings.window = std::stoull(argv[i + 1]);
    else if (flag == "--keep-index") settings.keep.emplace_back(argv[i + 1]);
  }
  gen::keepFreedMemoryForLoading();  // as the generator's programs do
  RowLog log;
  Clock::time_point start = Clock::now();
  {
    gen::World world(log, options);
    gen::writeAll(world);
  }
  const double making = secondsSince(start);
  const std::string path = (dir / fmt::format("tav-bulk-ceiling-{}.db", ::getpid())).string();
  const Timings t = writeFile(log, path, settings);
  std::error_code ignored;
  const auto bytes = std::filesystem::file_size(path, ignored);
  std::filesystem::remove(path, ignored);

  const auto rows = static_cast<double>(log.rows());
  fmt::print("{} tasks, seed {}: {} rows in {} tables, file {:.0f} MiB; page cache {} MiB, temp_store {}, {} rows per INSERT\n",
             options.tasks, options.seed, log.rows(), log.tables().size(), static_cast<double>(bytes) / (1 << 20),
             settings.cacheMib, settings.tempMemory ? "MEMORY" : "DEFAULT", settings.rowsPerInsert);
  for (const RowLog::Table& table : log.tables()) fmt::print("  {:<22} {:>10}\n", table.name, table.rows);
  fmt::print("                                 wall     cpu\n");
  fmt::print("making the rows into memory   {:7.2f} s            (not part of the ceiling)\n", making);
  fmt::print("inserting them                {:7.2f} s {:7.2f} s  {:>9.0f} rows/s\n", t.load, t.loadCpu, rows / t.load);
  fmt::print("report indexes + commit       {:7.2f} s {:7.2f} s\n", t.indexes, t.indexesCpu);
  for (const auto& [name, seconds] : t.eachIndex) fmt::print("  {:<32} {:5.2f} s\n", name, seconds);
  fmt::print("ANALYZE                       {:7.2f} s {:7.2f} s\n", t.analyze, t.analyzeCpu);
  const double total = t.load + t.indexes + t.analyze;
  fmt::print("ceiling, all of it            {:7.2f} s {:7.2f} s  {:>9.0f} rows/s  {:>7.0f} tasks/s\n", total,
             t.loadCpu + t.indexesCpu + t.analyzeCpu, rows / total, static_cast<double>(options.tasks) / total);
  std::fflush(stdout);
  return 0;
}
