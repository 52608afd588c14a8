// Drawing the result grid and acting on its keys.
#define NCURSES_WIDECHAR 1
#include "app/tui/grid_screen.h"

#include <curses.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include "app/browse/export_form.h"
#include "app/exit_codes.h"
#include "app/export/exporters.h"
#include "app/table/text_width.h"
#include "app/tui/curses_draw.h"
#include "app/tui/curses_front_end.h"
#include "app/tui/key_input.h"
#include "frame/report/report.h"
#include "platform/forms/front_end.h"

namespace app::tui {
namespace {

constexpr int kHeadLines = 5;  // name, title lines, two header rows, rule
constexpr int kFootLines = 2;  // status, help
constexpr size_t kSeparatorCells = 3;
constexpr const char* kSeparator = " | ";
constexpr short kSubtotalPair = 1, kTotalPair = 2;

void put(int y, int x, std::string_view text, int cells) {
  if (y < 0 || y >= LINES || x >= COLS || cells <= 0) return;
  mvaddstr(y, x, std::string(fitPrefix(text, static_cast<size_t>(cells))).c_str());
}

std::string centered(std::string_view text, size_t cells) {
  const size_t w = displayWidth(text);
  if (w >= cells) return padTo(text, cells);
  const size_t left = (cells - w) / 2;
  return std::string(left, ' ') + std::string(text) + std::string(cells - w - left, ' ');
}

bool useColors() {
  const char* noColor = std::getenv("NO_COLOR");
  return has_colors() && !(noColor && *noColor);
}

class GridScreen {
 public:
  GridScreen(CursesFrontEnd& terminal, ResultStack& stack, const GridActions& actions)
      : terminal_(terminal), stack_(stack), actions_(actions) {}

  void run() {
    terminal_.hold();
    struct Release {
      CursesFrontEnd& t;
      ~Release() { t.release(); }
    } release{terminal_};
    colors_ = useColors();
    if (colors_) {
      start_color();
      use_default_colors();
      init_pair(kSubtotalPair, COLOR_CYAN, -1);
      init_pair(kTotalPair, COLOR_YELLOW, -1);
    }
    while (!quit_) {
      draw();
      wint_t key = 0;
      const int status = readKey(key);
      if (status == ERR) continue;
      try {
        handle(status, key);
      } catch (const plat::Error& e) {
        message_ = e.description();
      } catch (const Failure& f) {
        message_ = f.message;
      } catch (const std::exception& e) {
        message_ = e.what();
      }
      terminal_.resume();
    }
  }

 private:
  ResultStack::Level& level() { return stack_.current(); }
  ResultView& view() { return *level().view; }
  const TableModel& table() { return *level().table; }
  int bodyLines() const { return std::max(1, LINES - kHeadLines - kFootLines); }

  size_t gutter() { return std::to_string(table().rowCount()).size() + 2; }

  bool empty() {
    for (size_t r = 0; r < table().rowCount(); ++r)
      if (table().rowKind(r) == RowKind::Detail) return false;
    return true;
  }

  const std::string& emptyHint() {
    const TableModel* shown = level().table.get();
    auto it = hints_.find(shown);
    if (it == hints_.end()) {
      std::string hint;
      if (actions_.emptyHint && empty()) hint = actions_.emptyHint(*level().report);
      terminal_.resume();  // finding out may have run the report again
      it = hints_.emplace(shown, std::move(hint)).first;
    }
    return it->second;
  }

  void draw() {
    erase();
    const std::vector<size_t> shown = view().shownColumns(static_cast<size_t>(std::max(1, COLS - 1)) - gutter(), kSeparatorCells);
    drawHead(shown);
    drawBody(shown);
    drawFoot(shown);
    refresh();
  }

  void drawHead(const std::vector<size_t>& shown) {
    const std::string name = (stack_.depth() > 1 ? "明细: " : "") + table().name();
    attron(A_REVERSE);
    mvhline(0, 0, ' ', COLS);
    put(0, std::max(0, (COLS - static_cast<int>(displayWidth(name))) / 2), name, COLS);
    attroff(A_REVERSE);
    std::string titles;
    for (const std::string& line : table().titleLines()) titles += (titles.empty() ? "" : "   ") + line;
    put(1, 0, titles, COLS);

    // Stand-alone captions over both rows; a group's caption over its columns on screen.
    std::string top(gutter(), ' '), bottom(gutter(), ' ');
    top.replace(0, 1, "#");
    const auto& spans = table().spans();
    const auto spanOf = [&](size_t c) -> const HeaderSpan* {
      for (const HeaderSpan& s : spans)
        if (c >= s.first && c < s.first + s.count) return &s;
      return nullptr;
    };
    const auto& widths = view().widths();
    for (size_t i = 0; i < shown.size();) {
      const size_t c = shown[i];
      const HeaderSpan* span = spanOf(c);
      if (i > 0) {
        top += kSeparator;
        bottom += kSeparator;
      }
      if (!span || span->bothRows) {
        top += padTo(table().columns()[c].caption, widths[c]);
        bottom += std::string(widths[c], ' ');
        ++i;
        continue;
      }
      size_t j = i, cells = 0;
      while (j < shown.size() && shown[j] >= span->first && shown[j] < span->first + span->count &&
             (j == i || shown[j] == shown[j - 1] + 1)) {
        if (j > i) {
          cells += kSeparatorCells;
          bottom += kSeparator;
        }
        cells += widths[shown[j]];
        bottom += padTo(table().columns()[shown[j]].caption, widths[shown[j]]);
        ++j;
      }
      top += centered(span->caption, cells);
      i = j;
    }
    attron(A_BOLD);
    put(2, 0, top, COLS);
    put(3, 0, bottom, COLS);
    attroff(A_BOLD);
    std::string rule;
    for (int x = 0; x < COLS; ++x) rule += "─";
    put(4, 0, rule, COLS);
  }

  std::string lineOf(size_t row, const std::vector<size_t>& shown) {
    std::string mark = " ";
    if (view().closesGroup(row)) mark = view().folded(row) ? "+" : "-";
    std::string line = padTo(std::to_string(row + 1), gutter() - 2, true) + mark + " ";
    const auto& widths = view().widths();
    for (size_t i = 0; i < shown.size(); ++i) {
      if (i > 0) line += kSeparator;
      const Cell cell = table().cell(row, shown[i]);
      line += padTo(cell.text, widths[shown[i]], cell.number.has_value());
    }
    return line;
  }

  void drawBody(const std::vector<size_t>& shown) {
    const int lines = bodyLines();
    if (view().visibleCount() == 0 || empty()) {
      put(kHeadLines, 2, view().visibleCount() == 0 ? "（没有数据）" : "（没有明细数据）", COLS - 2);
      put(kHeadLines + 1, 2, emptyHint(), COLS - 2);
      if (view().visibleCount() == 0) return;
    }
    const size_t top = view().top(static_cast<size_t>(lines));
    const int first = (empty() && !emptyHint().empty()) ? 3 : 0;
    for (int i = 0; first + i < lines && top + static_cast<size_t>(i) < view().visibleCount(); ++i) {
      const size_t at = top + static_cast<size_t>(i);
      const size_t row = view().rowAt(at);
      attr_t attr = A_NORMAL;
      const RowKind kind = table().rowKind(row);
      if (kind == RowKind::Subtotal) attr |= A_BOLD | (colors_ ? COLOR_PAIR(kSubtotalPair) : 0);
      if (kind == RowKind::Total) attr |= A_BOLD | (colors_ ? COLOR_PAIR(kTotalPair) : A_UNDERLINE);
      if (at == view().cursor()) attr |= A_REVERSE;
      attron(attr);
      put(kHeadLines + first + i, 0, padTo(lineOf(row, shown), static_cast<size_t>(COLS)), COLS);
      attroff(attr);
    }
  }

  void drawFoot(const std::vector<size_t>& shown) {
    std::ostringstream status;
    const size_t count = view().visibleCount();
    status << "第 " << (count ? view().cursorRow() + 1 : 0) << " 行，共 " << table().rowCount() << " 行";
    if (count != table().rowCount()) status << "（显示 " << count << " 行）";
    const size_t columns = table().columns().size();
    if (!shown.empty() && columns > view().labelColumns())
      status << "   列 " << view().firstColumn() + 1 << "-" << shown.back() + 1 << "/" << columns;
    if (!view().searchText().empty()) status << "   查找: " << view().searchText();
    std::string text = status.str();
    if (!message_.empty()) text = message_ + "   " + text;
    put(LINES - 2, 0, text, COLS);
    message_.clear();
    attron(A_DIM);
    put(LINES - 1, 0,
        std::string("↑↓←→ PgUp PgDn Home End 移动  / 查找  n/N 下一个  Enter 折叠/明细  1-9 折叠到级次  0 展开  ") +
            (stack_.depth() > 1 ? "Esc 返回  " : "") + "F2 过滤  F4 导出  q 退出",
        COLS);
    attroff(A_DIM);
  }

  // Reads a line of text on the status line; nothing when Esc cancels it.
  std::optional<std::string> prompt(const std::string& label) {
    std::string text;
    curs_set(1);
    struct Hide {
      ~Hide() { curs_set(0); }
    } hide;
    for (;;) {
      move(LINES - 2, 0);
      clrtoeol();
      put(LINES - 2, 0, label + text, COLS);
      refresh();
      wint_t key = 0;
      const int status = readKey(key);
      if (status == OK && (key == L'\n' || key == L'\r')) return text;
      if (status == KEY_CODE_YES && key == KEY_ENTER) return text;
      if (status == OK && key == 27) return std::nullopt;
      if ((status == KEY_CODE_YES && key == KEY_BACKSPACE) || (status == OK && (key == 127 || key == 8)))
        popLastChar(text);
      else if (status == OK && key >= 32)
        text += utf8Of(static_cast<wchar_t>(key));
    }
  }

  void exportResult() {
    auto form = std::make_shared<ExportForm>(table().name());
    form->Show();
    const std::optional<ExportChoice> choice = form->chosen();
    form->Unload();
    if (!choice) return;
    std::ostringstream unused;
    exportTable(table(), choice->format, choice->path, unused, GridOptions{});
    message_ = "已导出 " + std::to_string(table().rowCount()) + " 行到 " + choice->path;
  }

  void handle(int status, wint_t key) {
    const bool function = status == KEY_CODE_YES;
    const auto isChar = [&](wint_t c) { return status == OK && key == c; };
    const long page = std::max(1, bodyLines() - 1);
    if (function) {
      switch (key) {
        case KEY_UP: return view().moveBy(-1);
        case KEY_DOWN: return view().moveBy(1);
        case KEY_PPAGE: return view().moveBy(-page);
        case KEY_NPAGE: return view().moveBy(page);
        case KEY_HOME: return view().moveTo(0);
        case KEY_END: return view().moveTo(static_cast<long>(view().visibleCount()) - 1);
        case KEY_LEFT: return view().scrollColumns(-1);
        case KEY_RIGHT: return view().scrollColumns(1);
        case KEY_ENTER: return enter();
        case KEY_F(2): return refilter();
        case KEY_F(4): return exportResult();
        case KEY_F(10): quit_ = true; return;
        default: return;
      }
    }
    if (isChar(L'\n') || isChar(L'\r')) return enter();
    if (isChar(L' ')) {
      if (!view().toggleFold()) message_ = "只有小计行和合计行可以折叠";
      return;
    }
    if (isChar(27)) {
      if (stack_.back())
        hints_.clear();  // the closed result's table is gone; its address may come back
      else
        message_ = "按 q 退出";
      return;
    }
    if (isChar(L'q') || isChar(L'Q')) quit_ = true;
    if (isChar(L'/')) {
      if (auto text = prompt("查找: ")) {
        if (!text->empty() && !view().search(*text)) message_ = "未找到: " + *text;
      }
      return;
    }
    if (isChar(L'n') || isChar(L'N')) {
      if (view().searchText().empty()) message_ = "先按 / 输入要查找的内容";
      else if (!view().searchAgain(key == L'n')) message_ = "未找到: " + view().searchText();
      return;
    }
    if (status == OK && key >= L'0' && key <= L'9') {
      const size_t level = static_cast<size_t>(key - L'0');
      if (level > view().levels()) {
        message_ = view().levels() == 0 ? "这个结果没有小计行" : "只有 " + std::to_string(view().levels()) + " 级";
        return;
      }
      view().foldToLevel(level);
    }
  }

  void enter() {
    if (view().visibleCount() == 0) return;
    if (view().toggleFold()) return;
    const std::string why = stack_.drill();
    if (!why.empty()) message_ = why;
  }

  void refilter() {
    if (!actions_.refilter) return;
    std::shared_ptr<frame::Report> report = actions_.refilter();
    if (!report) return;
    hints_.clear();
    stack_.replace(std::move(report));
  }

  CursesFrontEnd& terminal_;
  ResultStack& stack_;
  const GridActions& actions_;
  std::map<const TableModel*, std::string> hints_;
  std::string message_;
  bool colors_ = false;
  bool quit_ = false;
};

}  // namespace

void runResultGrid(CursesFrontEnd& terminal, ResultStack& stack, const GridActions& actions) {
  GridScreen(terminal, stack, actions).run();
}

}  // namespace app::tui
