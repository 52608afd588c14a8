// Recognising the few fixed shapes of SQL text that callers may send (the bill lookup's query,
// a lookup's condition), word by word, so that nothing else is ever run or pasted into SQL.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace midtier {

// A cursor over a text. Each reader consumes what it matched and the blanks after it, and
// consumes nothing when it does not match. Words compare without regard to case and must end
// where the text's word ends ("select" does not match "selected").
class TextShape {
 public:
  explicit TextShape(std::string_view text);

  bool word(std::string_view expected);
  // The first of `choices` the next word equals, as spelled in `choices`.
  std::optional<std::string_view> oneOf(std::initializer_list<std::string_view> choices);
  bool symbol(std::string_view expected);  // punctuation, compared exactly
  // A whole number of at most 18 digits with an optional "-".
  std::optional<int64_t> integer();
  bool atEnd() const { return pos_ == text_.size(); }

 private:
  void skipBlanks();
  bool wordEndsAt(size_t pos) const;

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace midtier
