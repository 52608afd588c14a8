// Choosing the export format and writing the output complete or not at all.
#include "app/exit_codes.h"
#include "app/export/atomic_file.h"
#include "app/export/exporters.h"
#include "app/export/table_json.h"

namespace app {

std::optional<Format> parseFormat(std::string_view text) {
  if (text == "table") return Format::Table;
  if (text == "csv") return Format::Csv;
  if (text == "xlsx") return Format::Xlsx;
  if (text == "html") return Format::Html;
  if (text == "json") return Format::Json;
  return std::nullopt;
}

void exportTable(const TableModel& model, Format format, const std::string& outPath, std::ostream& out,
                 const GridOptions& grid) {
  const auto writeTo = [&](std::ostream& stream) {
    switch (format) {
      case Format::Table: renderGrid(model, stream, grid); break;
      case Format::Csv: writeCsv(model, stream); break;
      case Format::Html: writeHtml(model, stream); break;
      case Format::Json: writeJson(model, stream); break;
      case Format::Xlsx: break;
    }
  };
  if (outPath.empty()) {
    if (format == Format::Xlsx) throw Failure{kExitUsage, "--format xlsx needs --out FILE"};
    writeTo(out);
    out.flush();
    return;
  }
  AtomicFile file(outPath);
  if (format == Format::Xlsx)
    writeXlsx(model, file.tempPath().string());
  else
    writeTo(file.stream());
  file.commit();
}

}  // namespace app
