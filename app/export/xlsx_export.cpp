// The XLSX export through libxlsxwriter.
#include <xlsxwriter.h>

#include <algorithm>
#include <map>
#include <string>

#include "app/exit_codes.h"
#include "app/export/exporters.h"
#include "app/table/text_width.h"

namespace app {
namespace {

// Up to 31 characters, without the characters a sheet name may not hold.
std::string sheetName(const std::string& name) {
  std::string out;
  size_t chars = 0;
  for (size_t pos = 0; pos < name.size() && chars < 31;) {
    const size_t start = pos;
    nextCodePoint(name, pos);
    const std::string piece = name.substr(start, pos - start);
    if (piece.size() == 1 && std::string_view("[]:*?/\\").find(piece[0]) != std::string_view::npos) continue;
    out += piece;
    ++chars;
  }
  return out.empty() ? "Sheet1" : out;
}

class Formats {
 public:
  explicit Formats(lxw_workbook* book) : book_(book) {
    header_ = workbook_add_format(book);
    format_set_bold(header_);
    format_set_align(header_, LXW_ALIGN_CENTER);
    format_set_align(header_, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(header_, LXW_BORDER_THIN);
    format_set_bg_color(header_, 0xE8EEF6);
    name_ = workbook_add_format(book);
    format_set_bold(name_);
    format_set_font_size(name_, 14);
  }
  lxw_format* header() const { return header_; }
  lxw_format* name() const { return name_; }
  // A cell format: plain or bold, text or a number with `decimals` places.
  lxw_format* cell(bool bold, int decimals) {
    auto& f = cells_[{bold, decimals}];
    if (!f) {
      f = workbook_add_format(book_);
      if (bold) format_set_bold(f);
      if (decimals >= 0) {
        const std::string pattern = decimals == 0 ? "0" : "0." + std::string(static_cast<size_t>(decimals), '0');
        format_set_num_format(f, pattern.c_str());
      }
    }
    return f;
  }

 private:
  lxw_workbook* book_;
  lxw_format* header_;
  lxw_format* name_;
  std::map<std::pair<bool, int>, lxw_format*> cells_;
};

void check(lxw_error error, const std::string& path) {
  if (error != LXW_NO_ERROR)
    throw Failure{kExitOutput, "cannot write " + path + ": " + lxw_strerror(error)};
}

}  // namespace

void writeXlsx(const TableModel& model, const std::string& path) {
  lxw_workbook* book = workbook_new(path.c_str());
  if (!book) throw Failure{kExitOutput, "cannot write " + path + ": the workbook could not be created"};
  try {
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName(model.name()).c_str());
    if (!sheet) throw Failure{kExitOutput, "cannot write " + path + ": the worksheet could not be added"};
    Formats formats(book);

    lxw_row_t row = 0;
    if (!model.name().empty()) check(worksheet_write_string(sheet, row++, 0, model.name().c_str(), formats.name()), path);
    for (const std::string& line : model.titleLines()) check(worksheet_write_string(sheet, row++, 0, line.c_str(), nullptr), path);
    if (row > 0) ++row;

    const lxw_row_t top = row;
    for (const HeaderSpan& span : model.spans()) {
      const auto first = static_cast<lxw_col_t>(span.first);
      const auto last = static_cast<lxw_col_t>(span.first + span.count - 1);
      if (span.bothRows)
        check(worksheet_merge_range(sheet, top, first, top + 1, first, span.caption.c_str(), formats.header()), path);
      else if (span.count > 1)
        check(worksheet_merge_range(sheet, top, first, top, last, span.caption.c_str(), formats.header()), path);
      else
        check(worksheet_write_string(sheet, top, first, span.caption.c_str(), formats.header()), path);
      if (!span.bothRows)
        for (size_t c = span.first; c < span.first + span.count; ++c)
          check(worksheet_write_string(sheet, top + 1, static_cast<lxw_col_t>(c), model.columns()[c].caption.c_str(),
                                       formats.header()),
                path);
    }
    row = top + 2;
    worksheet_freeze_panes(sheet, row, static_cast<lxw_col_t>(model.frozenColumns()));

    std::vector<size_t> widths(model.columns().size());
    for (size_t c = 0; c < widths.size(); ++c) widths[c] = displayWidth(model.columns()[c].caption);
    for (size_t r = 0; r < model.rowCount(); ++r, ++row) {
      const bool bold = model.rowKind(r) != RowKind::Detail;
      for (size_t c = 0; c < model.columns().size(); ++c) {
        const Cell cell = model.cell(r, c);
        widths[c] = std::max(widths[c], displayWidth(cell.text));
        const auto col = static_cast<lxw_col_t>(c);
        if (cell.number)
          check(worksheet_write_number(sheet, row, col, *cell.number, formats.cell(bold, cell.decimals)), path);
        else if (!cell.text.empty())
          check(worksheet_write_string(sheet, row, col, cell.text.c_str(), formats.cell(bold, -1)), path);
        else if (bold)
          check(worksheet_write_blank(sheet, row, col, formats.cell(bold, -1)), path);
      }
    }
    for (size_t c = 0; c < widths.size(); ++c)
      worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                           std::min<double>(60, static_cast<double>(widths[c]) + 2), nullptr);
  } catch (...) {
    workbook_close(book);
    throw;
  }
  check(workbook_close(book), path);
}

}  // namespace app
