// Compact column storage for the record set: numbers kept as 32-bit integers until a value
// needs a double, texts kept once per column and referred to by a code. Storage grows in
// fixed blocks, so a large result never needs room for two copies of itself while growing.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace ado::detail {

// An append-only array in blocks of kBlock elements; the first block grows as a vector does,
// so small arrays stay small.
template <typename T>
class BlockArray {
 public:
  static constexpr size_t kShift = 14;
  static constexpr size_t kBlock = size_t{1} << kShift;

  void push_back(T value) {
    if (blocks_.empty() || blocks_.back().size() == kBlock) {
      blocks_.emplace_back();
      if (blocks_.size() > 1) blocks_.back().reserve(kBlock);
    }
    blocks_.back().push_back(value);
    ++size_;
  }
  T& operator[](size_t i) { return blocks_[i >> kShift][i & (kBlock - 1)]; }
  const T& operator[](size_t i) const { return blocks_[i >> kShift][i & (kBlock - 1)]; }
  size_t size() const { return size_; }
  void clear() {
    blocks_.clear();
    size_ = 0;
  }

 private:
  std::vector<std::vector<T>> blocks_;
  size_t size_ = 0;
};

// A column of numbers with a Null flag per row. Values are held as int32 while every value
// stored is a whole number in range (counts, ids, days, most quantities); the first one that
// is not turns the column into doubles.
class NumberColumn {
 public:
  void addNull();
  bool isNull(size_t row) const { return nulls_[row]; }
  double get(size_t row) const { return wide_ ? reals_[row] : static_cast<double>(ints_[row]); }
  void set(size_t row, double value);
  void setNull(size_t row) { nulls_[row] = true; }

 private:
  void widen();

  std::vector<bool> nulls_;
  BlockArray<int32_t> ints_;
  BlockArray<double> reals_;
  bool wide_ = false;
};

// A column of texts: each distinct text is stored once in a pool and rows hold its 32-bit code.
// Texts stay where they are once stored, so views of them remain valid while the record set lives,
// also after their cell is set to another text.
// When nearly every text is distinct (bill numbers) the lookup table is dropped and texts are
// simply appended, which is what sharing would cost anyway.
class TextColumn {
 public:
  // The most distinct texts a column can hold: codes are 32 bits and one value marks Null.
  static constexpr size_t kMaxTexts = UINT32_MAX;

  // `maxTexts` lowers the limit (for tests); storing a text past it raises a plat::Error.
  explicit TextColumn(size_t maxTexts = kMaxTexts);
  void addNull() { codes_.push_back(kNull); }
  bool isNull(size_t row) const { return codes_[row] == kNull; }
  std::string_view get(size_t row) const;  // "" for Null
  void set(size_t row, std::string_view text);
  void setNull(size_t row) { codes_[row] = kNull; }

 private:
  static constexpr uint32_t kNull = UINT32_MAX;

  uint32_t intern(std::string_view text);
  uint32_t append(std::string_view text);
  std::string_view entry(uint32_t code) const;
  void grow();

  BlockArray<uint32_t> codes_;
  BlockArray<const char*> entries_;  // each points at a 4-byte length followed by the text
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* cursor_ = nullptr;  // free room of the newest block
  size_t blockFree_ = 0;
  size_t nextBlock_ = 256;
  // Open addressing: the hash's upper 32 bits, then code + 1; 0 for empty. Empty when not sharing.
  std::vector<uint64_t> slots_;
  uint32_t last_ = kNull;  // the code stored last while sharing
  size_t stores_ = 0;
  size_t maxTexts_;
  bool sharing_ = true;
};

}  // namespace ado::detail
