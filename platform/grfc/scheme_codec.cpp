// The scheme text: "TAVF1" then the dictionary. Each value is a tag and its payload:
//   E empty   N null   T true   F false   i<n>; 16-bit   l<n>; 32-bit   d<x>; double
//   D<YYYY-MM-DD>; date   s<len>:<bytes> text   {<count>; (<len>:<key> value)... } dictionary
//   [<count>; value... ] vector
// Texts are length-prefixed, so keys and values need no escaping and UTF-8 passes untouched.
#include "platform/grfc/scheme_codec.h"

#include <charconv>
#include <system_error>

#include "platform/core/error.h"
#include "platform/lumo/vector.h"

namespace grfc {

namespace {

constexpr std::string_view kMagic = "TAVF1";
constexpr int kMaxDepth = 64;
const char* const kSource = "TAV_GRFC.SchemeStore";

void putText(std::string& out, std::string_view s) {
  out += std::to_string(s.size());
  out += ':';
  out += s;
}

void putDictionary(std::string& out, const lumo::Dictionary& d);

void putValue(std::string& out, const plat::Variant& v) {
  switch (v.type()) {
    case plat::VarType::Empty: out += 'E'; return;
    case plat::VarType::Null: out += 'N'; return;
    case plat::VarType::Boolean: out += v.toBool() ? 'T' : 'F'; return;
    case plat::VarType::Integer: out += 'i' + std::to_string(v.toInt16()) + ';'; return;
    case plat::VarType::Long: out += 'l' + std::to_string(v.toInt32()) + ';'; return;
    case plat::VarType::Double: {
      char buf[64];
      auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v.toDouble());
      out += 'd';
      out.append(buf, end);
      out += ';';
      return;
    }
    case plat::VarType::Date: out += 'D' + v.toDate().iso() + ';'; return;
    case plat::VarType::Text:
      out += 's';
      putText(out, v.text());
      return;
    case plat::VarType::Object:
      if (auto d = v.tryAs<lumo::Dictionary>()) return putDictionary(out, *d);
      if (auto vec = v.tryAs<lumo::Vector>()) {
        out += '[' + std::to_string(vec->Count()) + ';';
        for (const auto& item : *vec) putValue(out, item);
        out += ']';
        return;
      }
      throw plat::Error::typeMismatch(kSource, "A filter scheme can hold dictionaries and vectors, but no other objects");
  }
}

void putDictionary(std::string& out, const lumo::Dictionary& d) {
  out += '{' + std::to_string(d.Count()) + ';';
  for (const auto& [key, value] : d.entries()) {
    putText(out, key);
    putValue(out, value);
  }
  out += '}';
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  [[noreturn]] void fail(std::string_view what) const { failAt(pos_, what); }
  [[noreturn]] void failAt(size_t offset, std::string_view what) const {
    throw plat::Error(5, kSource,
                      "Malformed filter scheme at offset " + std::to_string(offset) + ": " + std::string(what));
  }
  bool atEnd() const { return pos_ == text_.size(); }
  char next() {
    if (atEnd()) fail("the text ends too early");
    return text_[pos_++];
  }
  void expect(char c) {
    if (next() != c) {
      --pos_;
      fail(std::string("expected '") + c + "'");
    }
  }
  void expectPrefix(std::string_view prefix) {
    if (text_.substr(pos_, prefix.size()) != prefix) fail("not a filter scheme");
    pos_ += prefix.size();
  }
  // The text up to `end` (not included); the end is consumed.
  std::string_view until(char end) {
    size_t stop = text_.find(end, pos_);
    if (stop == std::string_view::npos) fail(std::string("missing '") + end + "'");
    std::string_view part = text_.substr(pos_, stop - pos_);
    pos_ = stop + 1;
    return part;
  }
  template <class N>
  N number(char end) {
    size_t start = pos_;
    std::string_view digits = until(end);
    N n{};
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || digits.empty()) {
      pos_ = start;
      fail("bad number '" + std::string(digits) + "'");
    }
    return n;
  }
  std::string text() {
    auto length = number<size_t>(':');
    if (length > text_.size() - pos_) fail("a text runs past the end");
    std::string s(text_.substr(pos_, length));
    pos_ += length;
    return s;
  }
  size_t count(size_t smallestItem) {
    auto n = number<size_t>(';');
    if (n > (text_.size() - pos_) / smallestItem) fail("a count larger than the text can hold");
    return n;
  }

  plat::Variant value(int depth) {
    if (depth > kMaxDepth) fail("nested too deeply");
    switch (char tag = next()) {
      case 'E': return {};
      case 'N': return plat::Variant::null();
      case 'T': return true;
      case 'F': return false;
      case 'i': return number<int16_t>(';');
      case 'l': return number<int32_t>(';');
      case 'd': return number<double>(';');
      case 'D': {
        size_t start = pos_;
        auto date = plat::Date::parse(until(';'));
        if (!date) {
          pos_ = start;
          fail("bad date");
        }
        return *date;
      }
      case 's': return text();
      case '{': return dictionary(depth);
      case '[': {
        auto vec = lumo::newVector();
        for (size_t n = count(1); n > 0; --n) vec->Add(value(depth + 1));
        expect(']');
        return vec;
      }
      default:
        --pos_;
        fail(std::string("unknown value tag '") + tag + "'");
    }
  }
  // After the opening '{'.
  lumo::DictionaryRef dictionary(int depth) {
    auto d = lumo::newDictionary();
    for (size_t n = count(3); n > 0; --n) {
      size_t start = pos_;
      std::string key = text();
      if (d->Lookup(key)) failAt(start, "key '" + key + "' appears twice");
      d->Add(key, value(depth + 1));
    }
    expect('}');
    return d;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

std::string encodeFilter(const lumo::Dictionary& filter) {
  std::string out(kMagic);
  putDictionary(out, filter);
  return out;
}

lumo::DictionaryRef decodeFilter(std::string_view text) {
  Reader in(text);
  in.expectPrefix(kMagic);
  in.expect('{');
  auto d = in.dictionary(0);
  if (!in.atEnd()) in.fail("text after the end of the scheme");
  return d;
}

}  // namespace grfc
