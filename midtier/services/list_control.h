// TavList.ICList: the document journal list control of the list selection form, over the report
// data service's journals (sales orders, production tasks), read a page at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "frame/services/list_control.h"
#include "midtier/services/journal_source.h"
#include "platform/lumo/dictionary.h"

namespace midtier {

class ICList : public svc::ListControl, public svc::ListBrowser {
 public:
  // Rows read from the data service at a time.
  static constexpr int kPageRows = 100;

  // --- as the list selection form hosts it ---
  // Settings are kept as given; InitData reads "ListID" (32 or 36), "BaseInfo", "Filter" and
  // "MultiSelect". The others are accepted and have no effect on the journal.
  void SetProperty(const std::string& name, const plat::Variant& value) override;
  void SetROB(int32_t& rob) override { rob_ = rob; }
  // Reads the journal's first page; false, with LastError() telling why, when a setting is
  // wrong or the journal cannot be read.
  bool InitData() override;
  bool CanShow() const override { return RowCount() > 0; }
  // One dictionary: "FName" (the journal's title), "FListID", "FTableName".
  lumo::VectorRef ListInfo() const override;
  // A dictionary per selected row with every field of the row ("FInterID", "FBillNo", ...).
  lumo::VectorRef Selected() const override;
  // The rows read so far, with every field of the journal.
  ado::RecordsetRef GetListRs() const override { return rows_; }
  // A lumo::Vector of dictionaries, one per field: "FFieldName", "FCaption", "FWidth",
  // "FVisible", "FNumeric".
  plat::ObjectRef GetListFieldsDes() const override;
  bool ConfirmSelection() const override { return !selected_.empty(); }
  void Release() override;

  // --- as a front end browses it ---
  std::vector<svc::ListColumn> Columns() const override;
  long RowCount() const override { return rows_ ? rows_->RecordCount() : 0; }
  bool HasMoreRows() const override { return more_; }
  std::vector<std::vector<std::string>> Rows(long first, long count) override;
  long CurrentRow() const override { return current_; }
  void MoveTo(long row) override;
  void Select(long row) override;
  void Search(const std::string& text) override;
  const std::string& SearchText() const override { return search_; }
  void Confirm() override;
  void Exit() override;

  const std::string& LastError() const { return error_; }

 private:
  // A page of the journal for the filter and `search`: its first, or the one after `after`.
  struct Page;
  Page readPage(const std::string& search, const std::optional<JournalKey>& after) const;
  void append(Page& page);
  // Reads pages until `rows` rows are known or the journal ends.
  void readUntil(long rows);
  void clearRows();

  lumo::DictionaryRef settings_ = lumo::newDictionary();
  const JournalLayout* layout_ = nullptr;
  std::string props_;
  std::vector<std::string> filterParts_;
  bool multiSelect_ = false;
  std::string search_;
  ado::RecordsetRef rows_;
  bool more_ = false;
  long current_ = -1;
  std::set<long> selected_;
  int32_t rob_ = 0;
  std::string error_;
};

}  // namespace midtier
