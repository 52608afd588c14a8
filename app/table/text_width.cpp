// Display widths from the Unicode East Asian Width property (W and F) and zero-width marks.
#include "app/table/text_width.h"

#include <algorithm>
#include <iterator>

namespace app {
namespace {

struct Range {
  char32_t first, last;
};

// East Asian Wide (W) and Fullwidth (F) ranges, merged.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x3FFFD},
};

// Combining marks and other characters that take no cell of their own.
constexpr Range kZero[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x302A, 0x302D},
    {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0100, 0xE01EF},
};

template <size_t N>
bool inRanges(const Range (&ranges)[N], char32_t cp) {
  auto it = std::upper_bound(std::begin(ranges), std::end(ranges), cp,
                             [](char32_t c, const Range& r) { return c < r.first; });
  return it != std::begin(ranges) && cp <= std::prev(it)->last;
}

}  // namespace

int codePointWidth(char32_t cp) {
  if (cp == 0 || cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return 0;
  if (inRanges(kZero, cp)) return 0;
  return inRanges(kWide, cp) ? 2 : 1;
}

char32_t nextCodePoint(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  int extra = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + static_cast<size_t>(extra) >= text.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  pos += static_cast<size_t>(extra) + 1;
  return cp;
}

size_t displayWidth(std::string_view text) {
  size_t cells = 0;
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = nextCodePoint(text, pos);
    cells += cp == 0xFFFD ? 1 : static_cast<size_t>(codePointWidth(cp));
  }
  return cells;
}

std::string_view fitPrefix(std::string_view text, size_t cells) {
  size_t used = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t next = pos;
    const char32_t cp = nextCodePoint(text, next);
    const size_t w = cp == 0xFFFD ? 1 : static_cast<size_t>(codePointWidth(cp));
    if (used + w > cells) break;
    used += w;
    pos = next;
  }
  return text.substr(0, pos);
}

std::string padTo(std::string_view text, size_t cells, bool right) {
  std::string shown;
  size_t width = displayWidth(text);
  if (width > cells) {
    if (cells == 0) return {};
    shown = std::string(fitPrefix(text, cells - 1)) + "…";
    width = displayWidth(shown);
  } else {
    shown = std::string(text);
  }
  const std::string fill(cells - width, ' ');
  return right ? fill + shown : shown + fill;
}

}  // namespace app
