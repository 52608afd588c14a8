// The CSV export.
#include <string>

#include "app/export/exporters.h"

namespace app {
namespace {

std::string csvField(const std::string& text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return text;
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + "\"";
}

// The header caption of a column: a group's caption joined to the column's own.
std::string fullCaption(const TableModel& model, size_t column) {
  for (const HeaderSpan& span : model.spans())
    if (column >= span.first && column < span.first + span.count)
      return span.bothRows ? span.caption : span.caption + "/" + model.columns()[column].caption;
  return model.columns()[column].caption;
}

}  // namespace

void writeCsv(const TableModel& model, std::ostream& out) {
  out << "\xEF\xBB\xBF";
  const size_t columns = model.columns().size();
  for (size_t c = 0; c < columns; ++c) out << (c ? "," : "") << csvField(fullCaption(model, c));
  out << "\r\n";
  for (size_t row = 0; row < model.rowCount(); ++row) {
    for (size_t c = 0; c < columns; ++c) {
      const Cell cell = model.cell(row, c);
      out << (c ? "," : "") << csvField(cell.text);
    }
    out << "\r\n";
  }
}

}  // namespace app
