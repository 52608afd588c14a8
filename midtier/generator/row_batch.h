// A run of the generator's output held in memory: tables opened, rows and progress reports,
// in the order they were made, with the rows' texts copied so the batch can cross threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "midtier/generator/generator.h"
#include "midtier/generator/row_writer.h"

namespace gen {

class RowBatch {
 public:
  // What one entry of the batch is; `writer` numbers the tables in the order they were opened.
  struct Entry {
    enum Kind : uint8_t { Open, Row, Progress } kind;
    uint16_t writer;
    uint32_t index;  // Open: into openings(); Row: first value in values(); Progress: into progress()
    uint32_t count;  // Row: number of values
  };
  struct Opening {
    std::string table, columns;
  };

  void addOpen(uint16_t writer, std::string_view table, std::string_view columns);
  // Copies the texts; the batch's views of them stay valid until clear().
  void addRow(uint16_t writer, std::span<const Value> values);
  // REQUIRES: `progress.step` outlives the batch (the generator's steps are literals).
  void addProgress(const gen::Progress& progress);

  [[nodiscard]] bool full() const { return values_.size() >= kValues || textBytes_ >= kTextBytes; }
  [[nodiscard]] bool empty() const { return entries_.empty(); }
  void clear();

  [[nodiscard]] std::span<const Entry> entries() const { return entries_; }
  [[nodiscard]] std::span<const Value> values(const Entry& row) const {
    return std::span<const Value>(values_).subspan(row.index, row.count);
  }
  [[nodiscard]] const Opening& opening(const Entry& open) const { return openings_[open.index]; }
  [[nodiscard]] const gen::Progress& progress(const Entry& report) const { return progress_[report.index]; }

 private:
  std::string_view keep(std::string_view text);

  // About a few thousand rows: large enough that handing a batch over costs nothing
  // measurable, small enough to stay in the caches.
  static constexpr std::size_t kValues = 32 * 1024;
  static constexpr std::size_t kTextBytes = 128 * 1024;
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  std::vector<Entry> entries_;
  std::vector<Value> values_;
  std::vector<Opening> openings_;
  std::vector<gen::Progress> progress_;
  // Texts live in chunks that never move; a text longer than a chunk gets one of its own.
  std::vector<std::unique_ptr<char[]>> chunks_;
  std::size_t chunk_ = 0;      // chunk being filled
  std::size_t chunkUsed_ = 0;  // bytes used in it
  std::size_t textBytes_ = 0;
  std::vector<std::unique_ptr<char[]>> oversized_;
};

}  // namespace gen
