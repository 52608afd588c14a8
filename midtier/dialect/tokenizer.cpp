// Splits a T-SQL batch into tokens with their positions.
#include <cctype>

#include "midtier/dialect/errors.h"
#include "midtier/dialect/tokens.h"

namespace dialect {
namespace {

bool isNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isNameChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c == '@' || c == '#' || c >= 0x80; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  std::vector<Token> run() {
    std::vector<Token> tokens;
    for (;;) {
      skipBlanksAndComments();
      Token token;
      token.pos = pos_;
      if (atEnd()) {
        tokens.push_back(std::move(token));
        return tokens;
      }
      readToken(token);
      tokens.push_back(std::move(token));
    }
  }

 private:
  bool atEnd() const { return pos_.offset >= text_.size(); }
  char at(std::size_t ahead = 0) const {
    std::size_t i = pos_.offset + ahead;
    return i < text_.size() ? text_[i] : '\0';
  }

  // Moves one byte on, keeping line and character column. CR LF and a lone CR or LF each end a line.
  void advance() {
    char c = text_[pos_.offset++];
    if (c == '\n' || (c == '\r' && at() != '\n')) {
      ++pos_.line;
      pos_.column = 1;
    } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++pos_.column;
    }
  }
  void advance(std::size_t n) {
    while (n-- > 0 && !atEnd()) advance();
  }

  [[noreturn]] void fail(SourcePos where, const std::string& what) const { throw syntaxError(text_, where, what); }

  void skipBlanksAndComments() {
    while (!atEnd()) {
      char c = at();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
        advance();
      } else if (c == '-' && at(1) == '-') {
        while (!atEnd() && at() != '\n' && at() != '\r') advance();
      } else if (c == '/' && at(1) == '*') {
        skipBlockComment();
      } else {
        return;
      }
    }
  }

  // T-SQL block comments nest.
  void skipBlockComment() {
    SourcePos start = pos_;
    int depth = 0;
    do {
      if (atEnd()) fail(start, "unterminated comment");
      if (at() == '/' && at(1) == '*') {
        ++depth;
        advance(2);
      } else if (at() == '*' && at(1) == '/') {
        --depth;
        advance(2);
      } else {
        advance();
      }
    } while (depth > 0);
  }

  void readToken(Token& token) {
    unsigned char c = static_cast<unsigned char>(at());
    if (c == '\'') {
      readQuoted(token, TokenKind::String, '\'', "unterminated string literal");
    } else if ((c == 'N' || c == 'n') && at(1) == '\'') {
      advance();
      readQuoted(token, TokenKind::String, '\'', "unterminated string literal");
    } else if (c == '[') {
      readQuoted(token, TokenKind::QuotedName, ']', "unterminated [name]");
    } else if (c == '"') {
      readQuoted(token, TokenKind::QuotedName, '"', "unterminated \"name\"");
    } else if (c == '#') {
      readName(token, TokenKind::TempName);
      if (token.text.find_first_not_of('#') == std::string::npos) fail(token.pos, "temporary table name expected after '#'");
    } else if (c == '@') {
      fail(token.pos, "unsupported construct '@' (variables)");
    } else if (isDigit(static_cast<char>(c)) || (c == '.' && isDigit(at(1)))) {
      readNumber(token);
    } else if (isNameStart(c)) {
      readName(token, TokenKind::Word);
    } else {
      readSymbol(token);
    }
  }

  void readName(Token& token, TokenKind kind) {
    std::size_t begin = pos_.offset;
    while (!atEnd() && isNameChar(static_cast<unsigned char>(at()))) advance();
    token.kind = kind;
    token.text.assign(text_.substr(begin, pos_.offset - begin));
  }

  // Reads text from after the opening quote to close; a doubled close stands for itself.
  void readQuoted(Token& token, TokenKind kind, char close, const char* unterminated) {
    SourcePos start = token.pos;
    advance();
    token.kind = kind;
    for (;;) {
      if (atEnd()) fail(start, unterminated);
      char c = at();
      if (c == close) {
        if (at(1) == close) {
          token.text += close;
          advance(2);
          continue;
        }
        advance();
        return;
      }
      token.text += c;
      advance();
    }
  }

  void readNumber(Token& token) {
    std::size_t begin = pos_.offset;
    while (isDigit(at())) advance();
    if (at() == '.') {
      advance();
      while (isDigit(at())) advance();
    }
    bool exponent = (at() == 'e' || at() == 'E') &&
                    (isDigit(at(1)) || ((at(1) == '+' || at(1) == '-') && isDigit(at(2))));
    if (exponent) {
      advance(2);
      while (isDigit(at())) advance();
    }
    token.kind = TokenKind::Number;
    token.text.assign(text_.substr(begin, pos_.offset - begin));
  }

  void readSymbol(Token& token) {
    static constexpr std::string_view kTwoChar[] = {"<>", "!=", "<=", ">=", "!<", "!>"};
    static constexpr std::string_view kOneChar = "(),.;=<>+-*/%";
    token.kind = TokenKind::Symbol;
    std::string_view rest = text_.substr(pos_.offset);
    std::size_t length = 0;
    for (std::string_view two : kTwoChar) {
      if (rest.substr(0, 2) == two) length = 2;
    }
    if (length == 0 && kOneChar.find(rest[0]) != std::string_view::npos) length = 1;
    if (length == 0) fail(token.pos, std::string("unexpected character '").append(rest.substr(0, 1)).append("'"));
    token.text = std::string(rest.substr(0, length));
    advance(length);
  }

  std::string_view text_;
  SourcePos pos_;
};

}  // namespace

std::vector<Token> tokenize(std::string_view batch) { return Tokenizer(batch).run(); }

}  // namespace dialect
