// The JSON form of the table model.
#include "app/export/table_json.h"

#include <algorithm>

#include "app/table/row_groups.h"

namespace app {
namespace {

const char* kindName(RowKind kind) {
  switch (kind) {
    case RowKind::Subtotal: return "subtotal";
    case RowKind::Total: return "total";
    case RowKind::Detail: break;
  }
  return "detail";
}

}  // namespace

nlohmann::json tableJson(const TableModel& model, size_t first, size_t count) {
  using nlohmann::json;
  json out;
  out["name"] = model.name();
  out["titles"] = model.titleLines();
  out["frozenColumns"] = model.frozenColumns();
  json columns = json::array();
  for (const TableColumn& c : model.columns())
    columns.push_back({{"field", c.field}, {"caption", c.caption}, {"type", c.type}, {"numeric", c.numeric()}});
  out["columns"] = std::move(columns);
  json header = json::array();
  for (const HeaderSpan& s : model.spans())
    header.push_back({{"first", s.first}, {"count", s.count}, {"caption", s.caption}, {"bothRows", s.bothRows}});
  out["header"] = std::move(header);

  const size_t rows = model.rowCount();
  first = std::min(first, rows);
  const size_t last = count >= rows - first ? rows : first + count;
  const std::vector<std::optional<size_t>> starts = groupStarts(model);
  json list = json::array();
  for (size_t row = first; row < last; ++row) {
    json cells = json::array(), numbers = json::array();
    for (size_t c = 0; c < model.columns().size(); ++c) {
      Cell cell = model.cell(row, c);
      cells.push_back(std::move(cell.text));
      numbers.push_back(cell.number ? json(*cell.number) : json(nullptr));
    }
    json item = {{"row", row + 1},
                 {"kind", kindName(model.rowKind(row))},
                 {"sumSort", model.kindCode(row)},
                 {"detail", model.hasDetail(row)},
                 {"cells", std::move(cells)},
                 {"numbers", std::move(numbers)}};
    if (starts[row]) item["groupStart"] = *starts[row] + 1;
    list.push_back(std::move(item));
  }
  out["rowCount"] = rows;
  out["first"] = first;
  out["rows"] = std::move(list);
  return out;
}

void writeJson(const TableModel& model, std::ostream& out) {
  out << tableJson(model).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace app
