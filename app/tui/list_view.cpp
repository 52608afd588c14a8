// Drawing and keys of the journal list window.
#define NCURSES_WIDECHAR 1
#include "app/tui/list_view.h"

#include <curses.h>

#include <algorithm>

#include "app/table/text_width.h"
#include "app/tui/curses_draw.h"
#include "app/tui/key_input.h"
#include "platform/core/error.h"
#include "platform/forms/front_end.h"

namespace app::tui {
namespace {

constexpr int kHeaderLines = 4;  // caption, search line, blank, column captions
constexpr int kFooterLines = 2;  // position, help

void put(int y, int x, std::string_view text, int cells) {
  if (y < 0 || y >= LINES || x >= COLS || cells <= 0) return;
  mvaddstr(y, x, std::string(fitPrefix(text, static_cast<size_t>(cells))).c_str());
}

// One line of cells in the columns' widths (each at least its caption's), separated by blanks.
std::string lineOf(const std::vector<svc::ListColumn>& columns, const std::vector<std::string>& cells) {
  std::string line;
  for (size_t c = 0; c < columns.size(); ++c) {
    const size_t width = std::max(static_cast<size_t>(columns[c].width), displayWidth(columns[c].caption));
    line += padTo(c < cells.size() ? cells[c] : std::string(), width, columns[c].numeric) + "  ";
  }
  return line;
}

struct View {
  forms::Form& form;
  svc::ListBrowser& list;
  int top = 0;  // first row shown
  int bodyRows() const { return std::max(1, LINES - kHeaderLines - kFooterLines); }
};

void draw(View& v) {
  erase();
  attron(A_REVERSE);
  mvhline(0, 0, ' ', COLS);
  const std::string& caption = v.form.Caption();
  put(0, std::max(0, (COLS - static_cast<int>(displayWidth(caption))) / 2), caption, COLS);
  attroff(A_REVERSE);
  put(1, 1, "查找单据编号: " + v.list.SearchText() + "_", COLS - 2);

  const std::vector<svc::ListColumn> columns = v.list.Columns();
  std::vector<std::string> captions;
  for (const auto& column : columns) captions.push_back(column.caption);
  attron(A_BOLD);
  put(3, 1, lineOf(columns, captions), COLS - 2);
  attroff(A_BOLD);

  const int rows = v.bodyRows();
  const long current = v.list.CurrentRow();
  if (current >= 0 && current < v.top) v.top = static_cast<int>(current);
  if (current >= v.top + rows) v.top = static_cast<int>(current) - rows + 1;
  const auto texts = v.list.Rows(v.top, rows);
  for (size_t r = 0; r < texts.size(); ++r) {
    const bool at = v.top + static_cast<long>(r) == current;
    if (at) attron(A_REVERSE);
    put(kHeaderLines + static_cast<int>(r), 1, padTo(lineOf(columns, texts[r]), static_cast<size_t>(COLS - 2)),
        COLS - 2);
    if (at) attroff(A_REVERSE);
  }
  if (texts.empty()) put(kHeaderLines, 1, "（没有符合的单据）", COLS - 2);

  const std::string count = std::to_string(v.list.RowCount()) + (v.list.HasMoreRows() ? "+" : "");
  put(LINES - 2, 1, current < 0 ? "共 0 行" : "第 " + std::to_string(current + 1) + " 行，共 " + count + " 行", COLS - 2);
  attron(A_DIM);
  put(LINES - 1, 0, "↑↓ PgUp PgDn Home End 移动  输入字符 查找单据编号  Backspace 删除  Enter 选定  Esc 取消", COLS);
  attroff(A_DIM);
  refresh();
}

bool isEnter(int status, wint_t key) {
  return (status == OK && (key == L'\n' || key == L'\r')) || (status == KEY_CODE_YES && key == KEY_ENTER);
}

void handleKey(View& v, int status, wint_t key) {
  svc::ListBrowser& list = v.list;
  const long current = std::max(0L, list.CurrentRow());
  const long page = v.bodyRows();
  if (isEnter(status, key)) return list.Confirm();
  if (status == OK && key == 27) return list.Exit();
  if (status == KEY_CODE_YES) {
    switch (key) {
      case KEY_UP: return list.MoveTo(current - 1);
      case KEY_DOWN: return list.MoveTo(current + 1);
      case KEY_PPAGE: return list.MoveTo(current - page);
      case KEY_NPAGE: return list.MoveTo(current + page);
      case KEY_HOME: return list.MoveTo(0);
      // The end of what has been read; on a long journal each press reads a page further.
      case KEY_END: return list.MoveTo(list.RowCount() - 1 + (list.HasMoreRows() ? page : 0));
      case KEY_BACKSPACE: break;
      default: return;
    }
  }
  std::string text = list.SearchText();
  if ((status == KEY_CODE_YES && key == KEY_BACKSPACE) || (status == OK && (key == 127 || key == 8))) {
    if (text.empty()) return;
    popLastChar(text);
  } else if (status == OK && key == 21) {  // Ctrl-U clears the search
    text.clear();
  } else if (status == OK && key >= 32) {
    text += utf8Of(static_cast<wchar_t>(key));
  } else {
    return;
  }
  list.Search(text);
  v.top = 0;
}

}  // namespace

void runListView(forms::Form& form, svc::ListBrowser& list) {
  form.Activate();
  View view{form, list};
  const auto tell = [](const std::exception& e) {
    const auto* error = dynamic_cast<const plat::Error*>(&e);
    runMessageBox(error ? error->description() : e.what(), forms::vbExclamation, "Ostrel提示");
  };
  while (form.visible()) {
    try {
      draw(view);
    } catch (const std::exception& e) {
      tell(e);  // a journal that cannot be shown any more is left
      list.Exit();
      continue;
    }
    wint_t key = 0;
    const int status = readKey(key);
    if (status == ERR || (status == KEY_CODE_YES && key == KEY_RESIZE)) continue;
    try {
      handleKey(view, status, key);
    } catch (const std::exception& e) {
      tell(e);
    }
  }
}

}  // namespace app::tui
