// Word-by-word matching of fixed SQL shapes.
#include "midtier/services/text_shape.h"

#include <charconv>

namespace midtier {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// Letters, digits, "_" and every byte of a multi-byte UTF-8 character.
bool isWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

TextShape::TextShape(std::string_view text) : text_(text) { skipBlanks(); }

void TextShape::skipBlanks() {
  while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
}

bool TextShape::wordEndsAt(size_t pos) const { return pos >= text_.size() || !isWordChar(text_[pos]); }

bool TextShape::word(std::string_view expected) {
  if (text_.size() - pos_ < expected.size()) return false;
  for (size_t i = 0; i < expected.size(); ++i)
    if (lower(text_[pos_ + i]) != lower(expected[i])) return false;
  if (!wordEndsAt(pos_ + expected.size())) return false;
  pos_ += expected.size();
  skipBlanks();
  return true;
}

std::optional<std::string_view> TextShape::oneOf(std::initializer_list<std::string_view> choices) {
  for (std::string_view choice : choices)
    if (word(choice)) return choice;
  return std::nullopt;
}

bool TextShape::symbol(std::string_view expected) {
  if (text_.substr(pos_, expected.size()) != expected) return false;
  pos_ += expected.size();
  skipBlanks();
  return true;
}

std::optional<int64_t> TextShape::integer() {
  size_t end = pos_;
  if (end < text_.size() && text_[end] == '-') ++end;
  const size_t digits = end;
  while (end < text_.size() && text_[end] >= '0' && text_[end] <= '9') ++end;
  if (end == digits || end - digits > 18 || !wordEndsAt(end) || (end < text_.size() && text_[end] == '.'))
    return std::nullopt;
  int64_t value = 0;
  std::from_chars(text_.data() + pos_, text_.data() + end, value);
  pos_ = end;
  skipBlanks();
  return value;
}

}  // namespace midtier
