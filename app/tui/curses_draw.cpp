// Curses drawing of dialogs, message boxes and pick lists.
#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <algorithm>

#include "app/table/text_width.h"
#include "app/tui/curses_draw.h"
#include "app/tui/key_input.h"
#include "platform/forms/front_end.h"
#include "platform/lumo/dictionary.h"

namespace app::tui {
namespace {

void put(int y, int x, std::string_view text, int maxCells) {
  if (y < 0 || y >= LINES || x >= COLS || maxCells <= 0) return;
  const std::string shown(fitPrefix(text, static_cast<size_t>(maxCells)));
  mvaddstr(y, x, shown.c_str());
}

void box(int top, int left, int height, int width, std::string_view title) {
  for (int y = top; y < top + height; ++y) {
    move(y, left);
    for (int x = 0; x < width; ++x) addch(' ');
  }
  // The wide line-drawing characters: in a UTF-8 locale they are written as Unicode box lines,
  // which every terminal shows, rather than through the terminal's alternate character set.
  mvhline_set(top, left + 1, WACS_HLINE, width - 2);
  mvhline_set(top + height - 1, left + 1, WACS_HLINE, width - 2);
  mvvline_set(top + 1, left, WACS_VLINE, height - 2);
  mvvline_set(top + 1, left + width - 1, WACS_VLINE, height - 2);
  mvadd_wch(top, left, WACS_ULCORNER);
  mvadd_wch(top, left + width - 1, WACS_URCORNER);
  mvadd_wch(top + height - 1, left, WACS_LLCORNER);
  mvadd_wch(top + height - 1, left + width - 1, WACS_LRCORNER);
  if (!title.empty()) {
    attron(A_BOLD);
    put(top, left + 2, " " + std::string(title) + " ", width - 4);
    attroff(A_BOLD);
  }
}

// Splits a text into lines of at most `cells` cells, at line breaks and between characters.
std::vector<std::string> wrap(std::string_view text, size_t cells) {
  std::vector<std::string> lines(1);
  size_t used = 0;
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t cp = nextCodePoint(text, pos);
    if (cp == '\n') {
      lines.emplace_back();
      used = 0;
      continue;
    }
    const size_t w = static_cast<size_t>(codePointWidth(cp));
    if (used + w > cells) {
      lines.emplace_back();
      used = 0;
    }
    lines.back() += text.substr(start, pos - start);
    used += w;
  }
  return lines;
}

struct Button {
  const char* caption;
  int answer;
};

std::vector<Button> buttonsOf(int style) {
  switch (forms::buttonsOf(style)) {
    case forms::vbOKCancel: return {{"确定", forms::vbOK}, {"取消", forms::vbCancel}};
    case forms::vbAbortRetryIgnore:
      return {{"终止", forms::vbAbort}, {"重试", forms::vbRetry}, {"忽略", forms::vbIgnore}};
    case forms::vbYesNoCancel: return {{"是", forms::vbYes}, {"否", forms::vbNo}, {"取消", forms::vbCancel}};
    case forms::vbYesNo: return {{"是", forms::vbYes}, {"否", forms::vbNo}};
    case forms::vbRetryCancel: return {{"重试", forms::vbRetry}, {"取消", forms::vbCancel}};
    default: return {{"确定", forms::vbOK}};
  }
}

bool isEnter(int status, wint_t key) {
  return (status == OK && (key == L'\n' || key == L'\r')) || (status == KEY_CODE_YES && key == KEY_ENTER);
}

}  // namespace

std::string utf8Of(wchar_t ch) {
  const auto cp = static_cast<uint32_t>(ch);
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

void popLastChar(std::string& text) {
  if (text.empty()) return;
  size_t at = text.size() - 1;
  while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  text.erase(at);
}

void drawDialog(const std::string& caption, const DialogLayout& layout, const FocusKey& focus, int& scroll,
                std::string_view help) {
  erase();
  attron(A_REVERSE);
  move(0, 0);
  for (int x = 0; x < COLS; ++x) addch(' ');
  const size_t titleWidth = displayWidth(caption);
  put(0, std::max(0, (COLS - static_cast<int>(titleWidth)) / 2), caption, COLS);
  attroff(A_REVERSE);

  const int bodyTop = 2;
  const int bodyLines = std::max(1, LINES - bodyTop - 2);
  if (const Widget* f = layout.find(focus)) {
    if (f->line < scroll) scroll = f->line;
    if (f->line >= scroll + bodyLines) scroll = f->line - bodyLines + 1;
  }
  scroll = std::clamp(scroll, 0, std::max(0, layout.lines - bodyLines));
  for (const Widget& w : layout.widgets) {
    const int y = bodyTop + w.line - scroll;
    if (y < bodyTop || y >= bodyTop + bodyLines) continue;
    attr_t attr = A_NORMAL;
    if (w.heading) attr |= A_BOLD;
    if (!w.enabled) attr |= A_DIM;
    if (w.focusable && w.key == focus) attr |= A_REVERSE;
    attron(attr);
    put(y, 1 + w.x, w.text, COLS - 1 - w.x);
    attroff(attr);
  }
  attron(A_DIM);
  put(LINES - 1, 0, help, COLS);
  attroff(A_DIM);
  refresh();
}

int runMessageBox(std::string_view text, int style, std::string_view title) {
  const std::vector<Button> buttons = buttonsOf(style);
  int chosen = 0;
  const int maxText = std::max(20, std::min(60, COLS - 8));
  const std::vector<std::string> lines = wrap(text, static_cast<size_t>(maxText));
  int textWidth = static_cast<int>(displayWidth(title)) + 4;
  for (const auto& line : lines) textWidth = std::max(textWidth, static_cast<int>(displayWidth(line)));
  int buttonsWidth = 0;
  for (const Button& b : buttons) buttonsWidth += static_cast<int>(displayWidth(b.caption)) + 6;
  const int width = std::min(COLS, std::max(textWidth, buttonsWidth) + 4);
  const int height = std::min(LINES, static_cast<int>(lines.size()) + 4);
  const int top = std::max(0, (LINES - height) / 2);
  const int left = std::max(0, (COLS - width) / 2);
  for (;;) {
    box(top, left, height, width, title);
    for (size_t i = 0; i < lines.size() && static_cast<int>(i) < height - 4; ++i)
      put(top + 1 + static_cast<int>(i), left + 2, lines[i], width - 4);
    int x = left + std::max(2, (width - buttonsWidth) / 2);
    for (size_t i = 0; i < buttons.size(); ++i) {
      const std::string text = "< " + std::string(buttons[i].caption) + " >";
      if (static_cast<int>(i) == chosen) attron(A_REVERSE);
      put(top + height - 2, x, text, width);
      if (static_cast<int>(i) == chosen) attroff(A_REVERSE);
      x += static_cast<int>(displayWidth(text)) + 2;
    }
    refresh();
    wint_t key = 0;
    const int status = readKey(key);
    const int count = static_cast<int>(buttons.size());
    if (isEnter(status, key) || (status == OK && key == L' ')) return buttons[static_cast<size_t>(chosen)].answer;
    if (status == OK && key == 27) {
      for (const Button& b : buttons)
        if (b.answer == forms::vbCancel || b.answer == forms::vbNo) return b.answer;
      if (count == 1) return buttons[0].answer;
    }
    if ((status == KEY_CODE_YES && (key == KEY_RIGHT || key == KEY_DOWN)) || (status == OK && key == L'\t'))
      chosen = (chosen + 1) % count;
    if (status == KEY_CODE_YES && (key == KEY_LEFT || key == KEY_UP || key == KEY_BTAB)) chosen = (chosen + count - 1) % count;
  }
}

int runPickList(const std::vector<std::string>& items, int current, const std::string& title) {
  std::string filter;
  int cursor = 0;
  int top = 0;
  for (;;) {
    std::vector<int> shown;
    const std::string folded = lumo::foldCase(filter);
    for (size_t i = 0; i < items.size(); ++i)
      if (filter.empty() || lumo::foldCase(items[i]).find(folded) != std::string::npos) shown.push_back(static_cast<int>(i));
    if (current >= 0) {
      for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i] == current) cursor = static_cast<int>(i);
      current = -1;
    }
    cursor = std::clamp(cursor, 0, std::max(0, static_cast<int>(shown.size()) - 1));
    int width = static_cast<int>(displayWidth(title)) + 6;
    for (const auto& item : items) width = std::max(width, static_cast<int>(displayWidth(item)) + 4);
    width = std::min(COLS, std::max(width, 30));
    const int height = std::min(LINES, std::max(5, std::min(static_cast<int>(items.size()), 15) + 4));
    const int rows = height - 4;
    if (cursor < top) top = cursor;
    if (cursor >= top + rows) top = cursor - rows + 1;
    const int boxTop = std::max(0, (LINES - height) / 2);
    const int left = std::max(0, (COLS - width) / 2);
    box(boxTop, left, height, width, title);
    put(boxTop + 1, left + 2, "筛选: " + filter, width - 4);
    for (int r = 0; r < rows && top + r < static_cast<int>(shown.size()); ++r) {
      const bool at = top + r == cursor;
      if (at) attron(A_REVERSE);
      put(boxTop + 2 + r, left + 2, padTo(items[static_cast<size_t>(shown[static_cast<size_t>(top + r)])],
                                            static_cast<size_t>(width - 4)),
          width - 4);
      if (at) attroff(A_REVERSE);
    }
    refresh();
    wint_t key = 0;
    const int status = readKey(key);
    if (isEnter(status, key)) return shown.empty() ? -1 : shown[static_cast<size_t>(cursor)];
    if (status == OK && key == 27) return -1;
    if (status == KEY_CODE_YES) {
      switch (key) {
        case KEY_UP: --cursor; break;
        case KEY_DOWN: ++cursor; break;
        case KEY_PPAGE: cursor -= rows; break;
        case KEY_NPAGE: cursor += rows; break;
        case KEY_HOME: cursor = 0; break;
        case KEY_END: cursor = static_cast<int>(shown.size()) - 1; break;
        case KEY_BACKSPACE: popLastChar(filter); break;
        default: break;
      }
    } else if (status == OK && (key == 127 || key == 8)) {
      popLastChar(filter);
    } else if (status == OK && key >= 32) {
      filter += utf8Of(static_cast<wchar_t>(key));
      cursor = 0;
    }
  }
}

}  // namespace app::tui
