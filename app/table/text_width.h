// Terminal cell widths of UTF-8 text: East Asian wide and fullwidth characters take two cells,
// combining marks none. Our own table, so widths do not depend on the process's locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

// Cells taken by one code point: 0 (combining, zero-width, control), 1 or 2.
int codePointWidth(char32_t cp);
// Cells taken by a UTF-8 text; an invalid byte counts as one cell.
size_t displayWidth(std::string_view text);
// The longest prefix of `text` that fits in `cells` cells, cut between characters.
std::string_view fitPrefix(std::string_view text, size_t cells);
// `text` cut to `cells` cells (ending in "…" when cut) and padded with blanks to exactly `cells`;
// right-aligned when `right`.
std::string padTo(std::string_view text, size_t cells, bool right = false);
// Decodes the code point at `pos` and advances `pos`; an invalid byte gives U+FFFD.
char32_t nextCodePoint(std::string_view text, size_t& pos);

}  // namespace app
