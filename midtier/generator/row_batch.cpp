// A batch of the generator's output: entries in order, texts copied into chunks that never move.
#include "midtier/generator/row_batch.h"

#include <cstring>

namespace gen {

void RowBatch::addOpen(uint16_t writer, std::string_view table, std::string_view columns) {
  entries_.push_back({Entry::Open, writer, static_cast<uint32_t>(openings_.size()), 0});
  openings_.push_back({std::string(table), std::string(columns)});
}

void RowBatch::addRow(uint16_t writer, std::span<const Value> values) {
  entries_.push_back({Entry::Row, writer, static_cast<uint32_t>(values_.size()), static_cast<uint32_t>(values.size())});
  for (const Value& value : values) {
    const auto* text = std::get_if<std::string_view>(&value);
    values_.push_back(text ? Value(keep(*text)) : value);
  }
}

void RowBatch::addProgress(const gen::Progress& progress) {
  entries_.push_back({Entry::Progress, 0, static_cast<uint32_t>(progress_.size()), 0});
  progress_.push_back(progress);
}

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
  entries_.clear();
  values_.clear();
  openings_.clear();
  progress_.clear();
  oversized_.clear();
  chunk_ = 0;
  chunkUsed_ = 0;
  textBytes_ = 0;
}

}  // namespace gen
