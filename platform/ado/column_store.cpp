// The record set's compact columns: 32-bit numbers that widen, texts stored once per field.
#include "platform/ado/column_store.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "platform/core/error.h"

namespace ado::detail {
namespace {

bool fitsInt32(double value) {
  // -0.0 and NaN keep their identity only as doubles.
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max() &&
         value == std::trunc(value) && !(value == 0 && std::signbit(value));
}

constexpr size_t kLargestBlock = 64 * 1024;
// Past this many stores, a column whose texts are mostly distinct stops sharing them.
constexpr size_t kSharingProbe = 64 * 1024;

}  // namespace

void NumberColumn::addNull() {
  nulls_.push_back(true);
  if (wide_)
    reals_.push_back(0);
  else
    ints_.push_back(0);
}

void NumberColumn::set(size_t row, double value) {
  nulls_[row] = false;
  if (!wide_ && !fitsInt32(value)) widen();
  if (wide_)
    reals_[row] = value;
  else
    ints_[row] = static_cast<int32_t>(value);
}

void NumberColumn::widen() {
  for (size_t row = 0; row < ints_.size(); ++row) reals_.push_back(ints_[row]);
  ints_.clear();
  wide_ = true;
}

TextColumn::TextColumn(size_t maxTexts) : maxTexts_(std::min(maxTexts, kMaxTexts)) { slots_.assign(16, 0); }

std::string_view TextColumn::entry(uint32_t code) const {
  const char* at = entries_[code];
  uint32_t length = 0;
  std::memcpy(&length, at, sizeof length);
  return {at + sizeof length, length};
}

std::string_view TextColumn::get(size_t row) const {
  const uint32_t code = codes_[row];
  return code == kNull ? std::string_view() : entry(code);
}

void TextColumn::set(size_t row, std::string_view text) {
  if (text.size() > std::numeric_limits<uint32_t>::max() - 8)
    throw plat::Error(-2147024882, "ADODB.Recordset", "Text too long for a record set field");
  codes_[row] = sharing_ ? intern(text) : append(text);
  if (sharing_ && ++stores_ >= kSharingProbe && entries_.size() * 4 > stores_ * 3) {
    sharing_ = false;
    slots_.clear();
    slots_.shrink_to_fit();
  }
}

uint32_t TextColumn::append(std::string_view text) {
  // Checked before anything is stored: a failed store leaves the column as it was.
  if (entries_.size() >= maxTexts_)
    throw plat::Error(-2147024882, "ADODB.Recordset", "Too many different texts in one record set field");
  const uint32_t length = static_cast<uint32_t>(text.size());
  const size_t need = sizeof length + text.size();
  if (need > blockFree_) {
    // Blocks double up to kLargestBlock; a longer text gets a block of its own size.
    const size_t size = std::max(nextBlock_, need);
    if (nextBlock_ < kLargestBlock) nextBlock_ *= 2;
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    cursor_ = blocks_.back().get();
    blockFree_ = size;
  }
  char* at = cursor_;
  std::memcpy(at, &length, sizeof length);
  if (!text.empty()) std::memcpy(at + sizeof length, text.data(), text.size());
  cursor_ += need;
  blockFree_ -= need;
  entries_.push_back(at);
  return static_cast<uint32_t>(entries_.size() - 1);
}

uint32_t TextColumn::intern(std::string_view text) {
  // Rows often repeat the previous row's text (a task's fields on each of its material lines).
  if (last_ != kNull && entry(last_) == text) return last_;
  // A slot keeps the upper half of its text's hash beside the code, so that probing past other
  // texts compares integers instead of reaching for each text.
  const size_t hash = std::hash<std::string_view>{}(text);
  const uint64_t tag = static_cast<uint64_t>(hash >> 32) << 32;
  const size_t mask = slots_.size() - 1;
  size_t slot = hash & mask;
  while (slots_[slot] != 0) {
    const uint64_t stored = slots_[slot];
    const uint32_t code = static_cast<uint32_t>(stored) - 1;
    if ((stored & ~uint64_t{UINT32_MAX}) == tag && entry(code) == text) return last_ = code;
    slot = (slot + 1) & mask;
  }
  const uint32_t code = append(text);
  slots_[slot] = tag | (uint64_t{code} + 1);
  if (entries_.size() * 2 > slots_.size()) grow();
  return last_ = code;
}

void TextColumn::grow() {
  std::vector<uint64_t> slots(slots_.size() * 2, 0);
  const size_t mask = slots.size() - 1;
  for (uint64_t stored : slots_) {
    if (stored == 0) continue;
    size_t slot = std::hash<std::string_view>{}(entry(static_cast<uint32_t>(stored) - 1)) & mask;
    while (slots[slot] != 0) slot = (slot + 1) & mask;
    slots[slot] = stored;
  }
  slots_ = std::move(slots);
}

}  // namespace ado::detail
