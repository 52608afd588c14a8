// Drawing the text grid page by page.
#include "app/render/grid_text.h"

#include <algorithm>
#include <string>

#include "app/table/text_width.h"

namespace app {
namespace {

constexpr std::string_view kSeparator = " | ";
constexpr size_t kSeparatorCells = 3;

std::string centered(std::string_view text, size_t cells) {
  const size_t w = displayWidth(text);
  if (w >= cells) return padTo(text, cells);
  const size_t left = (cells - w) / 2;
  return std::string(left, ' ') + std::string(text) + std::string(cells - w - left, ' ');
}

// One page of the grid: the columns shown, in order (frozen ones first).
struct Page {
  std::vector<size_t> columns;
};

class PageWriter {
 public:
  PageWriter(const TableModel& model, const std::vector<size_t>& widths, const GridOptions& options, std::ostream& out)
      : model_(model), widths_(widths), options_(options), out_(out) {
    gutter_ = std::max<size_t>(1, std::to_string(model.rowCount()).size());
  }

  void write(const Page& page) {
    header(page);
    rule(page);
    bool afterDetail = false;
    for (size_t row = 0; row < model_.rowCount(); ++row) {
      const bool total = model_.rowKind(row) != RowKind::Detail;
      if (total && afterDetail && !options_.ansi) rule(page);
      afterDetail = !total;
      std::string line = options_.rowNumbers ? padTo(std::to_string(row + 1), gutter_, true) + std::string(kSeparator) : "";
      bool first = true;
      for (size_t c : page.columns) {
        if (!first) line += kSeparator;
        first = false;
        const Cell cell = model_.cell(row, c);
        line += padTo(cell.text, widths_[c], cell.number.has_value());
      }
      trimRight(line);
      if (total && options_.ansi) line = "\x1b[1m" + line + "\x1b[0m";
      out_ << line << '\n';
    }
  }

 private:
  // The top row shows stand-alone captions and group captions over their visible columns on
  // this page; the second row shows the group columns' own captions.
  void header(const Page& page) {
    std::string top = options_.rowNumbers ? padTo("#", gutter_, true) + std::string(kSeparator) : "";
    std::string bottom = options_.rowNumbers ? std::string(gutter_, ' ') + std::string(kSeparator) : "";
    const auto spanOf = [&](size_t column) -> const HeaderSpan& {
      for (const HeaderSpan& s : model_.spans())
        if (column >= s.first && column < s.first + s.count) return s;
      return model_.spans().front();
    };
    for (size_t i = 0; i < page.columns.size();) {
      const size_t c = page.columns[i];
      const HeaderSpan& span = spanOf(c);
      if (i > 0) {
        top += kSeparator;
        bottom += kSeparator;
      }
      if (span.bothRows) {
        top += padTo(model_.columns()[c].caption, widths_[c]);
        bottom += std::string(widths_[c], ' ');
        ++i;
        continue;
      }
      // The run of this group's columns that sit next to each other on the page.
      size_t j = i;
      size_t cells = 0;
      while (j < page.columns.size() && page.columns[j] >= span.first && page.columns[j] < span.first + span.count &&
             (j == i || page.columns[j] == page.columns[j - 1] + 1)) {
        if (j > i) {
          cells += kSeparatorCells;
          bottom += kSeparator;
        }
        cells += widths_[page.columns[j]];
        bottom += padTo(model_.columns()[page.columns[j]].caption, widths_[page.columns[j]]);
        ++j;
      }
      top += centered(span.caption, cells);
      i = j;
    }
    trimRight(top);
    trimRight(bottom);
    out_ << top << '\n' << bottom << '\n';
  }

  void rule(const Page& page) {
    std::string line = options_.rowNumbers ? std::string(gutter_ + 1, '-') + "+-" : "";
    bool first = true;
    for (size_t c : page.columns) {
      if (!first) line += "-+-";
      first = false;
      line += std::string(widths_[c], '-');
    }
    out_ << line << '\n';
  }

  static void trimRight(std::string& line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
  }

  const TableModel& model_;
  const std::vector<size_t>& widths_;
  const GridOptions& options_;
  std::ostream& out_;
  size_t gutter_ = 1;
};

}  // namespace

std::vector<size_t> columnWidths(const TableModel& model) {
  const auto& columns = model.columns();
  std::vector<size_t> widths(columns.size(), 1);
  for (size_t c = 0; c < columns.size(); ++c) {
    widths[c] = std::max<size_t>(1, displayWidth(columns[c].caption));
    for (size_t row = 0; row < model.rowCount(); ++row) widths[c] = std::max(widths[c], displayWidth(model.text(row, c)));
  }
  for (const HeaderSpan& span : model.spans()) {
    if (span.bothRows || span.count == 0) continue;
    size_t cells = (span.count - 1) * kSeparatorCells;
    for (size_t c = span.first; c < span.first + span.count; ++c) cells += widths[c];
    const size_t need = displayWidth(span.caption);
    if (need > cells) widths[span.first + span.count - 1] += need - cells;
  }
  return widths;
}

std::vector<std::vector<size_t>> pageColumns(const std::vector<size_t>& widths, size_t frozen, size_t frozenCells,
                                             size_t width) {
  std::vector<std::vector<size_t>> pages;
  std::vector<size_t> current;
  size_t used = frozenCells;
  for (size_t c = frozen; c < widths.size(); ++c) {
    const size_t need = (used > 0 ? kSeparatorCells : 0) + widths[c];
    if (width > 0 && !current.empty() && used + need > width) {
      pages.push_back(std::move(current));
      current.clear();
      used = frozenCells;
    }
    used += (used > 0 ? kSeparatorCells : 0) + widths[c];
    current.push_back(c);
  }
  if (!current.empty() || pages.empty()) pages.push_back(std::move(current));
  return pages;
}

void renderGrid(const TableModel& model, std::ostream& out, const GridOptions& options) {
  if (!model.name().empty()) out << model.name() << '\n';
  for (const std::string& line : model.titleLines()) out << line << '\n';
  if (!model.name().empty() || !model.titleLines().empty()) out << '\n';

  const std::vector<size_t> widths = columnWidths(model);
  const size_t gutter = std::max<size_t>(1, std::to_string(model.rowCount()).size());
  size_t frozenCells = options.rowNumbers ? gutter : 0;
  for (size_t c = 0; c < model.frozenColumns(); ++c) frozenCells += (frozenCells > 0 ? kSeparatorCells : 0) + widths[c];
  const auto pages = pageColumns(widths, model.frozenColumns(), frozenCells, options.width);

  PageWriter writer(model, widths, options, out);
  for (size_t p = 0; p < pages.size(); ++p) {
    Page page;
    for (size_t c = 0; c < model.frozenColumns(); ++c) page.columns.push_back(c);
    page.columns.insert(page.columns.end(), pages[p].begin(), pages[p].end());
    if (pages.size() > 1) {
      if (p > 0) out << '\n';
      const size_t firstShown = pages[p].empty() ? 0 : pages[p].front() + 1;
      const size_t lastShown = pages[p].empty() ? 0 : pages[p].back() + 1;
      out << "[" << p + 1 << "/" << pages.size() << "] columns " << firstShown << "-" << lastShown << " of "
          << model.columns().size() << '\n';
    }
    writer.write(page);
  }
  out << "(" << model.rowCount() << " rows)\n";
}

}  // namespace app
