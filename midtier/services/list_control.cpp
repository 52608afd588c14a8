// TavList.ICList: settings, the journal read a page at a time, the cursor and the selection.
#include "midtier/services/list_control.h"

#include <fmt/format.h>

#include <algorithm>
#include <optional>

#include "frame/services/class_names.h"
#include "midtier/services/connection.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/list_control_settings.h"
#include "platform/com/registry.h"

namespace midtier {

struct ICList::Page {
  ado::RecordsetRef rows;
  bool more = false;
};

namespace {

const char* tableOf(int32_t billType) { return billType == kSalesOrderBills ? "SEOrder" : "ICMO"; }

std::string cellText(const ado::Recordset& rows, size_t row, size_t field, const JournalColumn& column) {
  if (rows.IsNullAt(row, field)) return {};
  if (column.numeric && column.decimals >= 0) return fmt::format("{:.{}f}", rows.NumberAt(row, field), column.decimals);
  return rows.ValueAt(row, field).text();
}

}  // namespace

void ICList::SetProperty(const std::string& name, const plat::Variant& value) { settings_->SetValue(name, value); }

bool ICList::InitData() {
  error_.clear();
  clearRows();
  search_.clear();
  layout_ = nullptr;
  try {
    const plat::Variant listId = settings_->Value("ListID");
    layout_ = journalLayout(listId.isNumeric() ? listId.toInt32() : 0);
    if (!layout_)
      throw refusal(kListControlSource,
                    "没有单据类型“" + listId.text() + "”的序时簿：只有销售订单（32）和生产任务单（36）。");
    const ListLogin login = parseBaseInfo(settings_->Value("BaseInfo").text());
    props_ = makeProps(login.dbFile, login.userId, login.userName);
    filterParts_ = parseJournalFilter(settings_->Value("Filter").text());
    const plat::Variant multi = settings_->Value("MultiSelect");
    multiSelect_ = multi.isNumber() && multi.toBool();
    Page first = readPage(search_, std::nullopt);
    append(first);
    current_ = RowCount() > 0 ? 0 : -1;
    return true;
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const plat::Error*>(&e);
    error_ = error ? error->description() : e.what();
    clearRows();
    return false;
  }
}

ICList::Page ICList::readPage(const std::string& search, const std::optional<JournalKey>& after) const {
  if (!layout_) throw refusal(kListControlSource, "序时簿尚未初始化（InitData）。");
  JournalRequest request;
  request.billType = layout_->billType;
  request.billNoParts = filterParts_;
  if (!search.empty()) request.billNoParts.push_back(search);
  request.after = after;
  request.limit = kPageRows + 1;  // one more tells whether the journal goes on
  auto source = plat::broker().CreateAs<JournalSource>(svc::kShopRptData);
  Page page{source->GetJournalPage(props_, request), false};
  page.more = page.rows->RecordCount() > kPageRows;
  return page;
}

void ICList::append(Page& page) {
  if (!rows_) {
    rows_ = ado::newRecordset();
    for (const JournalColumn& column : layout_->columns) {
      if (std::string_view(column.field) == "FInterID")
        rows_->Append(column.field, ado::adInteger);
      else
        rows_->Append(column.field, column.numeric ? ado::adDouble : ado::adVarChar, column.numeric ? 0 : 255);
    }
    rows_->Open();
  }
  std::vector<size_t> from;
  for (const JournalColumn& column : layout_->columns)
    from.push_back(static_cast<size_t>(page.rows->FieldIndex(column.field)));
  const size_t count = std::min<size_t>(static_cast<size_t>(page.rows->RecordCount()), kPageRows);
  for (size_t r = 0; r < count; ++r) {
    rows_->AddNew();
    const size_t to = static_cast<size_t>(rows_->RecordCount()) - 1;
    for (size_t f = 0; f < from.size(); ++f) rows_->SetValueAt(to, f, page.rows->ValueAt(r, from[f]));
  }
  more_ = page.more;
}

void ICList::readUntil(long rows) {
  while (more_ && RowCount() < rows) {
    const size_t last = static_cast<size_t>(RowCount()) - 1;
    const JournalKey key{rows_->ValueAt(last, rows_->FieldIndex("FDate")).text(),
                         static_cast<int64_t>(rows_->NumberAt(last, 0))};
    Page page = readPage(search_, key);
    append(page);
  }
}

void ICList::clearRows() {
  rows_ = nullptr;
  more_ = false;
  current_ = -1;
  selected_.clear();
}

lumo::VectorRef ICList::ListInfo() const {
  auto info = lumo::newVector();
  if (!layout_) return info;
  auto entry = lumo::newDictionary();
  entry->SetValue("FName", layout_->title);
  entry->SetValue("FListID", layout_->billType);
  entry->SetValue("FTableName", tableOf(layout_->billType));
  info->Add(entry);
  return info;
}

lumo::VectorRef ICList::Selected() const {
  auto selected = lumo::newVector();
  for (long row : selected_) {
    auto entry = lumo::newDictionary();
    for (size_t f = 0; f < static_cast<size_t>(rows_->FieldCount()); ++f)
      entry->SetValue(rows_->FieldAt(f).name, rows_->ValueAt(static_cast<size_t>(row), f));
    selected->Add(entry);
  }
  return selected;
}

plat::ObjectRef ICList::GetListFieldsDes() const {
  auto fields = lumo::newVector();
  if (!layout_) return fields;
  for (const JournalColumn& column : layout_->columns) {
    auto entry = lumo::newDictionary();
    entry->SetValue("FFieldName", column.field);
    entry->SetValue("FCaption", column.caption);
    entry->SetValue("FWidth", column.width);
    entry->SetValue("FVisible", *column.caption != '\0');
    entry->SetValue("FNumeric", column.numeric);
    fields->Add(entry);
  }
  return fields;
}

void ICList::Release() {
  clearRows();
  search_.clear();
}

std::vector<svc::ListColumn> ICList::Columns() const {
  std::vector<svc::ListColumn> columns;
  if (!layout_) return columns;
  for (const JournalColumn& column : layout_->columns)
    if (*column.caption) columns.push_back({column.caption, column.width, column.numeric});
  return columns;
}

std::vector<std::vector<std::string>> ICList::Rows(long first, long count) {
  std::vector<std::vector<std::string>> texts;
  if (first < 0 || count <= 0) return texts;
  readUntil(first + count);
  for (long row = first; row < std::min(first + count, RowCount()); ++row) {
    std::vector<std::string> cells;
    for (size_t f = 0; f < layout_->columns.size(); ++f)
      if (*layout_->columns[f].caption)
        cells.push_back(cellText(*rows_, static_cast<size_t>(row), f, layout_->columns[f]));
    texts.push_back(std::move(cells));
  }
  return texts;
}

void ICList::MoveTo(long row) {
  row = std::max(0L, row);
  readUntil(row + 1);
  current_ = RowCount() == 0 ? -1 : std::min(row, RowCount() - 1);
}

void ICList::Select(long row) {
  MoveTo(row);
  if (current_ < 0) return;
  if (!multiSelect_) {
    selected_ = {current_};
  } else if (!selected_.erase(current_)) {
    selected_.insert(current_);
  }
}

void ICList::Search(const std::string& text) {
  Page first = readPage(text, std::nullopt);  // a failure leaves the list as it was
  clearRows();
  search_ = text;
  append(first);
  current_ = RowCount() > 0 ? 0 : -1;
}

void ICList::Confirm() {
  if (selected_.empty() && current_ >= 0) selected_.insert(current_);
  if (OnCommand) OnCommand("SelectOK");
}

void ICList::Exit() {
  if (OnCommand) OnCommand("Exit");
}

}  // namespace midtier
