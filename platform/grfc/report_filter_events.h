// The events the report filter grid raises on the form that hosts it. A filter dialog derives
// from this and overrides the events it handles; the others do nothing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms/control.h"
#include "platform/lumo/dictionary.h"

namespace grfc {

class ReportFilterEvents {
 public:
  virtual ~ReportFilterEvents() = default;

  // The user asked to reset the dialog.
  virtual void ResetControls() {}
  // Before an acceptance; setting `cancel` refuses it and the dialog stays open.
  virtual void CheckFilter(bool& cancel) { (void)cancel; }
  // Write the controls' values into `filter` (a new dictionary; the handler may replace it).
  virtual void SaveFilter(lumo::DictionaryRef& filter) { (void)filter; }
  // After an acceptance (`cancel` false) or a cancel (`cancel` true).
  virtual void FilterDone(bool& cancel) { (void)cancel; }
  // Fill the controls from a saved scheme.
  virtual void LoadFilter(lumo::DictionaryRef& saved) { (void)saved; }
  // Which base data the code box `box` looks up: set `classId` (0: none) and, if needed, an
  // extra SQL condition. With `billLookup` true the handler runs a bill-number lookup itself and
  // may hand back the box it filled through `box`.
  virtual void GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) {
    (void)box;
    (void)classId;
    (void)condition;
    (void)billLookup;
  }
};

}  // namespace grfc
