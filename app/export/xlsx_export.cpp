// The XLSX export through libxlsxwriter.
#include <xlsxwriter.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "app/exit_codes.h"
#include "app/export/exporters.h"
#include "app/table/text_width.h"

namespace app {
namespace {

// Up to 31 characters, without the characters a sheet name may not hold; the `number`-th sheet
// of a result too long for one ends in " (number)".
std::string sheetName(const std::string& name, size_t number) {
  const std::string suffix = number > 1 ? " (" + std::to_string(number) + ")" : "";
  std::string out;
  size_t chars = 0;
  for (size_t pos = 0; pos < name.size() && chars + suffix.size() < 31;) {
    const size_t start = pos;
    nextCodePoint(name, pos);
    const std::string piece = name.substr(start, pos - start);
    if (piece.size() == 1 && std::string_view("[]:*?/\\").find(piece[0]) != std::string_view::npos) continue;
    out += piece;
    ++chars;
  }
  return (out.empty() ? "Sheet1" : out) + suffix;
}

// A sheet this large may pass 4 GB of XML, which only ZIP64 can hold.
constexpr size_t kZip64Cells = 40'000'000;

class Formats {
 public:
  explicit Formats(lxw_workbook* book) : book_(book) {
    header_ = headerFormat();
    // The two halves of a caption that spans both header rows, where a merge cannot be written.
    headerTop_ = headerFormat();
    format_set_bottom(headerTop_, LXW_BORDER_NONE);
    headerBottom_ = headerFormat();
    format_set_top(headerBottom_, LXW_BORDER_NONE);
    name_ = workbook_add_format(book);
    format_set_bold(name_);
    format_set_font_size(name_, 14);
  }
  lxw_format* header() const { return header_; }
  lxw_format* headerTop() const { return headerTop_; }
  lxw_format* headerBottom() const { return headerBottom_; }
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
  lxw_format* headerFormat() {
    lxw_format* f = workbook_add_format(book_);
    format_set_bold(f);
    format_set_align(f, LXW_ALIGN_CENTER);
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(f, LXW_BORDER_THIN);
    format_set_bg_color(f, 0xE8EEF6);
    return f;
  }

  lxw_workbook* book_;
  lxw_format* header_;
  lxw_format* headerTop_;
  lxw_format* headerBottom_;
  lxw_format* name_;
  std::map<std::pair<bool, int>, lxw_format*> cells_;
};

void check(lxw_error error, const std::string& path) {
  if (error != LXW_NO_ERROR)
    throw Failure{kExitOutput, "cannot write " + path + ": " + lxw_strerror(error)};
}

// The second-row captions of the columns under a group caption.
void writeSecondRow(lxw_worksheet* sheet, const TableModel& model, lxw_row_t row, const HeaderSpan& span,
                    const Formats& formats, const std::string& path) {
  for (size_t c = span.first; c < span.first + span.count; ++c)
    check(worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c), model.columns()[c].caption.c_str(),
                                 formats.header()),
          path);
}

// The two header rows from `top`. A streamed sheet takes its rows strictly in order, so a caption
// spanning both rows cannot be merged there (the merge writes the row below before the next
// caption of the row above); it is drawn as two cells without the line between them instead.
void writeHeader(lxw_worksheet* sheet, const TableModel& model, lxw_row_t top, const Formats& formats, bool streamed,
                 const std::string& path) {
  for (const HeaderSpan& span : model.spans()) {
    const auto first = static_cast<lxw_col_t>(span.first);
    const auto last = static_cast<lxw_col_t>(span.first + span.count - 1);
    if (span.bothRows && !streamed)
      check(worksheet_merge_range(sheet, top, first, top + 1, first, span.caption.c_str(), formats.header()), path);
    else if (span.count > 1)
      check(worksheet_merge_range(sheet, top, first, top, last, span.caption.c_str(), formats.header()), path);
    else
      check(worksheet_write_string(sheet, top, first, span.caption.c_str(),
                                   span.bothRows ? formats.headerTop() : formats.header()),
            path);
    if (!streamed && !span.bothRows) writeSecondRow(sheet, model, top + 1, span, formats, path);
  }
  if (!streamed) return;
  for (const HeaderSpan& span : model.spans()) {
    if (span.bothRows)
      check(worksheet_write_blank(sheet, top + 1, static_cast<lxw_col_t>(span.first), formats.headerBottom()), path);
    else
      writeSecondRow(sheet, model, top + 1, span, formats, path);
  }
}

}  // namespace

// libxlsxwriter holds every cell of a sheet in memory (a 900,000-row report took 4.5 GB) unless
// it streams: then each row goes to a temporary file as the next one starts.
void writeXlsx(const TableModel& model, const std::string& path, const XlsxLimits& limits) {
  const size_t cells = model.rowCount() * model.columns().size();
  const bool streamed = cells > limits.streamedCells;
  // The streamed rows wait beside the target, not in a /tmp that may live in memory.
  const std::string tmpdir = std::filesystem::path(path).parent_path().string();
  lxw_workbook_options options{};
  options.constant_memory = streamed ? LXW_TRUE : LXW_FALSE;
  options.tmpdir = streamed && !tmpdir.empty() ? const_cast<char*>(tmpdir.c_str()) : nullptr;
  options.use_zip64 = cells > kZip64Cells ? LXW_TRUE : LXW_FALSE;
  lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
  if (!book) throw Failure{kExitOutput, "cannot write " + path + ": the workbook could not be created"};
  try {
    Formats formats(book);
    std::vector<lxw_worksheet*> sheets;
    // A new sheet with the name, title lines and header; the row its data starts on.
    const auto startSheet = [&] {
      lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName(model.name(), sheets.size() + 1).c_str());
      if (!sheet) throw Failure{kExitOutput, "cannot write " + path + ": the worksheet could not be added"};
      sheets.push_back(sheet);
      lxw_row_t row = 0;
      if (!model.name().empty()) check(worksheet_write_string(sheet, row++, 0, model.name().c_str(), formats.name()), path);
      for (const std::string& line : model.titleLines()) check(worksheet_write_string(sheet, row++, 0, line.c_str(), nullptr), path);
      if (row > 0) ++row;
      writeHeader(sheet, model, row, formats, streamed, path);
      worksheet_freeze_panes(sheet, row + 2, static_cast<lxw_col_t>(model.frozenColumns()));
      return row + 2;
    };

    std::vector<size_t> widths(model.columns().size());
    for (size_t c = 0; c < widths.size(); ++c) widths[c] = displayWidth(model.columns()[c].caption);
    lxw_row_t row = startSheet();
    for (size_t r = 0; r < model.rowCount(); ++r, ++row) {
      if (row >= limits.sheetRows) row = startSheet();
      lxw_worksheet* sheet = sheets.back();
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
    for (lxw_worksheet* sheet : sheets)
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
