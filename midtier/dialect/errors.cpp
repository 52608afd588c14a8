// Formats the dialect layer's errors with the position and the offending text.
#include "midtier/dialect/errors.h"

namespace dialect {
namespace {

constexpr std::size_t kSnippetChars = 40;

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string snippetAt(std::string_view batch, SourcePos pos) {
  if (pos.offset >= batch.size()) return {};
  std::string_view rest = batch.substr(pos.offset);
  rest = rest.substr(0, rest.find_first_of("\r\n"));
  std::size_t chars = 0;
  std::size_t cut = 0;
  while (cut < rest.size()) {
    if (!isContinuationByte(static_cast<unsigned char>(rest[cut]))) {
      if (chars == kSnippetChars) break;
      ++chars;
    }
    ++cut;
  }
  std::string text(rest.substr(0, cut));
  if (cut < rest.size()) text += " ...";
  return text;
}

plat::Error syntaxError(std::string_view batch, SourcePos pos, const std::string& what) {
  std::string text = what + " at line " + std::to_string(pos.line) + ", column " + std::to_string(pos.column);
  std::string snippet = snippetAt(batch, pos);
  if (!snippet.empty()) text += ": " + snippet;
  return plat::Error(kSyntaxErrorNumber, kErrorSource, text);
}

}  // namespace dialect
