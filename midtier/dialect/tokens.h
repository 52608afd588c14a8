// Tokens of a T-SQL batch and the tokenizer that produces them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dialect {

// A place in the batch; line and column are 1-based, the column counts characters.
struct SourcePos {
  int line = 1;
  int column = 1;
  std::size_t offset = 0;
};

enum class TokenKind {
  Word,        // bare identifier or keyword, as written
  QuotedName,  // [name] or "name"; text holds the name without quotes
  TempName,    // #name or ##name, '#' kept in the text
  String,      // '..' or N'..'; text holds the value with '' undone
  Number,      // 12, 1.5, .5, 1e3 as written
  Symbol,      // operators and punctuation: ( ) , . ; = <> != < > <= >= !< !> + - * / %
  End,
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;
  SourcePos pos;
};

// Splits a batch into tokens, skipping blanks, line breaks and comments (-- and nested /* */).
// The last token is always End. Throws plat::Error for unterminated strings, names and comments
// and for characters outside the supported syntax.
[[nodiscard]] std::vector<Token> tokenize(std::string_view batch);

}  // namespace dialect
