// A run of the generator's output held in memory so that it can cross threads: the tables
// opened, each table's rows in the order they were made (texts copied), and the progress
// reports that followed them.
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
  struct Opening {
    uint16_t writer;  // numbers the tables in the order they were opened
    std::string table, columns;
  };
  struct Rows {
    uint16_t writer;
    std::vector<Value> values;  // whole rows one after another
    std::size_t count = 0;
  };

  void addOpen(uint16_t writer, std::string_view table, std::string_view columns);
  // Copies the texts; the batch's views of them stay valid until clear().
  void addRow(uint16_t writer, std::span<const Value> values);
  // REQUIRES: `progress.step` outlives the batch (the generator's steps are literals).
  void addProgress(const gen::Progress& progress);

  [[nodiscard]] bool full() const { return values_ >= kValues || textBytes_ >= kTextBytes; }
  [[nodiscard]] bool empty() const { return openings_.empty() && values_ == 0 && progress_.empty(); }
  void clear();

  [[nodiscard]] std::span<const Opening> openings() const { return openings_; }
  // The tables with rows in this batch, in the order of their first row here.
  [[nodiscard]] std::span<const Rows> rows() const { return std::span<const Rows>(rows_).first(used_); }
  [[nodiscard]] std::span<const gen::Progress> progress() const { return progress_; }

 private:
  std::string_view keep(std::string_view text);

  // A few thousand rows: large enough that handing a batch over costs nothing measurable,
  // small enough to stay in the caches.
  static constexpr std::size_t kValues = 32 * 1024;
  static constexpr std::size_t kTextBytes = 128 * 1024;
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  std::vector<Opening> openings_;
  std::vector<Rows> rows_;  // the first used_ are this batch's; the rest keep their capacity
  std::size_t used_ = 0;
  std::vector<int> slot_;  // writer -> index into rows_, -1 = none yet
  std::size_t values_ = 0;
  std::vector<gen::Progress> progress_;
  // Texts live in chunks that never move; a text longer than a chunk gets one of its own.
  std::vector<std::unique_ptr<char[]>> chunks_;
  std::size_t chunk_ = 0;      // chunk being filled
  std::size_t chunkUsed_ = 0;  // bytes used in it
  std::size_t textBytes_ = 0;
  std::vector<std::unique_ptr<char[]>> oversized_;
};

}  // namespace gen
