// TavList.ICList: the document journal list control that the list selection form hosts.
// The form passes its settings straight through, asks the control to initialise its data,
// and listens for its commands ("SelectOK", "Exit"); front ends browse it as a ListBrowser.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ado/recordset.h"
#include "platform/core/object.h"
#include "platform/core/variant.h"
#include "platform/forms/form.h"
#include "platform/forms/hosted_control.h"
#include "platform/lumo/vector.h"

namespace svc {

class ListControl : public plat::Object {
 public:
  // A setting of the journal: "ListID", "ListShowStatus", "DestBillTransType", "BaseInfo",
  // "MultiSelect", "CanSelectMultiRow", "Filter", "LocalCnn", "SystemName", "SelectFlag",
  // "ISShowReport", "TranType".
  virtual void SetProperty(const std::string& name, const plat::Variant& value) = 0;
  // The form's ROB value, handed over by reference before the data is initialised.
  virtual void SetROB(int32_t& rob) = 0;
  // Loads the journal; false when it cannot.
  virtual bool InitData() = 0;
  // Whether the list may be shown (false when it holds nothing to show).
  virtual bool CanShow() const = 0;
  // An ordered description of the list; the first entry is a dictionary with "FName".
  virtual lumo::VectorRef ListInfo() const = 0;
  // The selected rows, each a dictionary with at least "FInterID".
  virtual lumo::VectorRef Selected() const = 0;
  virtual ado::RecordsetRef GetListRs() const = 0;
  virtual plat::ObjectRef GetListFieldsDes() const = 0;
  // The confirmation query of "SelectOK": true when rows are selected.
  virtual bool ConfirmSelection() const = 0;
  // Releases the journal's data (the form unloads).
  virtual void Release() = 0;

  // Raised with "SelectOK" or "Exit".
  std::function<void(const std::string& command)> OnCommand;
};

struct ListColumn {
  std::string caption;
  int width = 10;  // cells
  bool numeric = false;
};

// The journal as a front end browses it (the terminal's list window, a test's script). Rows are
// counted from 0 in journal order; they are read a page at a time, so RowCount() is what has
// been read so far and HasMoreRows() tells whether the journal goes on.
class ListBrowser {
 public:
  virtual ~ListBrowser() = default;
  virtual std::vector<ListColumn> Columns() const = 0;
  virtual long RowCount() const = 0;
  virtual bool HasMoreRows() const = 0;
  // The texts of rows first .. first+count-1 (fewer at the journal's end), one per column;
  // reads further pages as needed.
  virtual std::vector<std::vector<std::string>> Rows(long first, long count) = 0;
  // The row under the cursor; -1 when the list is empty.
  virtual long CurrentRow() const = 0;
  // Moves the cursor to `row` (kept within the journal, reading pages as needed).
  virtual void MoveTo(long row) = 0;
  // Moves the cursor to `row` and selects it: the only selected row, unless the journal lets
  // several rows be chosen ("MultiSelect"), where it toggles the row's selection.
  virtual void Select(long row) = 0;
  // Shows only the bills whose number contains `text` (the empty text shows them all) and puts
  // the cursor on the first; the selection is cleared. Raises when the journal cannot be read.
  virtual void Search(const std::string& text) = 0;
  virtual const std::string& SearchText() const = 0;
  // Confirms the selection, or the row under the cursor when nothing is selected: raises the
  // command "SelectOK".
  virtual void Confirm() = 0;
  // Raises the command "Exit".
  virtual void Exit() = 0;
};

// The browser of the list control hosted on `form`, or null when it hosts none.
inline ListBrowser* listBrowserOf(const forms::Form& form) {
  for (const auto& control : form.controls())
    if (auto* site = dynamic_cast<const forms::HostedControl*>(control.get()))
      if (auto* browser = dynamic_cast<ListBrowser*>(site->object().get())) return browser;
  return nullptr;
}

}  // namespace svc
