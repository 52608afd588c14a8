// Exports of the table model: CSV, XLSX and HTML, and the text grid, to a file or a stream.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/render/grid_text.h"
#include "app/table/table_model.h"

namespace app {

enum class Format { Table, Csv, Xlsx, Html, Json };

// "table", "csv", "xlsx", "html", "json"; nothing for another text.
std::optional<Format> parseFormat(std::string_view text);

// UTF-8 with a byte-order mark, CRLF line ends, one header line whose captions join a group's
// caption and the column's own ("生产数量/单位"); numbers at full precision.
void writeCsv(const TableModel& model, std::ostream& out);
// A self-contained page: the name and title lines, a table whose header has the same two rows,
// spans and row spans as the grid, total rows in bold.
void writeHtml(const TableModel& model, std::ostream& out);
// A workbook with one sheet: name and title lines, the two-row header with merged cells, frozen
// panes below the header and right of the frozen columns, number formats by decimal places, bold
// total rows. Raises app::Failure (kExitOutput) when the workbook cannot be written.
struct XlsxLimits {
  // A result of more cells is written row by row through a temporary file beside the target, in
  // constant memory; a caption spanning both header rows is then two cells drawn as one instead
  // of a merge.
  size_t streamedCells = 1'000'000;
  // Rows of a sheet, its name, title and header included; a longer result goes on in "NAME (2)"...
  size_t sheetRows = 1'048'576;
};
void writeXlsx(const TableModel& model, const std::string& path, const XlsxLimits& limits = {});

// Writes `model` in `format` to `outPath` (complete or not at all), or to `out` when `outPath` is
// empty. XLSX needs a file. Raises app::Failure on an output error.
void exportTable(const TableModel& model, Format format, const std::string& outPath, std::ostream& out,
                 const GridOptions& grid);

}  // namespace app
