// A batch of the generator's output: rows kept per table, texts copied into chunks that never move.
#include "midtier/generator/row_batch.h"

#include <cstring>

namespace gen {

void RowBatch::addOpen(uint16_t writer, std::string_view table, std::string_view columns) {
  openings_.push_back({writer, std::string(table), std::string(columns)});
}

void RowBatch::addRow(uint16_t writer, std::span<const Value> values) {
  if (slot_.size() <= writer) slot_.resize(writer + 1u, -1);
  if (slot_[writer] < 0) {
    if (used_ == rows_.size()) rows_.emplace_back();
    slot_[writer] = static_cast<int>(used_);
    rows_[used_++].writer = writer;
  }
  Rows& rows = rows_[static_cast<std::size_t>(slot_[writer])];
  for (const Value& value : values) {
    const auto* text = std::get_if<std::string_view>(&value);
    rows.values.push_back(text ? Value(keep(*text)) : value);
  }
  ++rows.count;
  values_ += values.size();
}

void RowBatch::addProgress(const gen::Progress& progress) { progress_.push_back(progress); }

std::string_view RowBatch::keep(std::string_view text) {
  textBytes_ += text.size();
  if (text.size() > kChunkBytes) {
    oversized_.push_back(std::make_unique<char[]>(text.size()));
    std::memcpy(oversized_.back().get(), text.data(), text.size());
    return std::string_view(oversized_.back().get(), text.size());
  }
  if (chunks_.empty() || chunkUsed_ + text.size() > kChunkBytes) {
    if (!chunks_.empty()) ++chunk_;
    if (chunk_ == chunks_.size()) chunks_.push_back(std::make_unique<char[]>(kChunkBytes));
    chunkUsed_ = 0;
  }
  char* at = chunks_[chunk_].get() + chunkUsed_;
  // An empty text still gets a valid address: a null one would be bound as Null.
  if (!text.empty()) std::memcpy(at, text.data(), text.size());
  chunkUsed_ += text.size();
  return std::string_view(at, text.size());
}

void RowBatch::clear() {
  openings_.clear();
  for (std::size_t i = 0; i < used_; ++i) {
    slot_[rows_[i].writer] = -1;
    rows_[i].values.clear();
    rows_[i].count = 0;
  }
  used_ = 0;
  values_ = 0;
  progress_.clear();
  oversized_.clear();
  chunk_ = 0;
  chunkUsed_ = 0;
  textBytes_ = 0;
}

}  // namespace gen
