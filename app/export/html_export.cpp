// The HTML export: one self-contained page.
#include <string>

#include "app/export/exporters.h"

namespace app {
namespace {

std::string escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += ch;
    }
  }
  return out;
}

constexpr const char* kStyle = R"(body{font-family:"Noto Sans CJK SC","Microsoft YaHei",SimSun,sans-serif;margin:1em}
h1{font-size:1.3em;margin:0 0 .3em}
p.title{margin:.1em 0;color:#333}
table{border-collapse:collapse;margin-top:.8em}
th,td{border:1px solid #999;padding:2px 6px;white-space:nowrap}
thead th{background:#e8eef6;position:sticky;top:0}
td.num{text-align:right;font-variant-numeric:tabular-nums}
tr.subtotal td{font-weight:bold;background:#f4f4f4}
tr.total td{font-weight:bold;background:#e6e6e6;border-top:2px solid #555}
td.frozen{background:#fafafa})";

}  // namespace

void writeHtml(const TableModel& model, std::ostream& out) {
  out << "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << escape(model.name())
      << "</title>\n<style>\n" << kStyle << "\n</style>\n</head>\n<body>\n";
  if (!model.name().empty()) out << "<h1>" << escape(model.name()) << "</h1>\n";
  for (const std::string& line : model.titleLines()) out << "<p class=\"title\">" << escape(line) << "</p>\n";

  out << "<table>\n<thead>\n<tr>";
  for (const HeaderSpan& span : model.spans()) {
    out << "<th";
    if (span.bothRows) out << " rowspan=\"2\"";
    if (span.count > 1) out << " colspan=\"" << span.count << "\"";
    out << ">" << escape(span.caption) << "</th>";
  }
  out << "</tr>\n<tr>";
  for (const HeaderSpan& span : model.spans()) {
    if (span.bothRows) continue;
    for (size_t c = span.first; c < span.first + span.count; ++c)
      out << "<th>" << escape(model.columns()[c].caption) << "</th>";
  }
  out << "</tr>\n</thead>\n<tbody>\n";
  for (size_t row = 0; row < model.rowCount(); ++row) {
    const RowKind kind = model.rowKind(row);
    out << (kind == RowKind::Total ? "<tr class=\"total\">" : kind == RowKind::Subtotal ? "<tr class=\"subtotal\">" : "<tr>");
    for (size_t c = 0; c < model.columns().size(); ++c) {
      const Cell cell = model.cell(row, c);
      const bool frozen = c < model.frozenColumns();
      out << "<td";
      if (cell.number || frozen)
        out << " class=\"" << (cell.number ? "num" : "") << (cell.number && frozen ? " " : "") << (frozen ? "frozen" : "")
            << "\"";
      out << ">" << escape(cell.text) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody>\n</table>\n</body>\n</html>\n";
}

}  // namespace app
