// TavList.ICList: the document journal list control that the list selection form hosts.
// The form passes its settings straight through, asks the control to initialise its data,
// and listens for its commands ("SelectOK", "Exit").
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ado/recordset.h"
#include "platform/core/object.h"
#include "platform/core/variant.h"
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

}  // namespace svc
