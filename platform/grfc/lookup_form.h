// The modal window in which the user picks a base-data code for a code box.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/grfc/lookup_source.h"

namespace grfc {

// Controls: `cmbCode` (one item per code, "number name"), `cmdOK`, `cmdCancel`.
class LookupForm : public forms::Form {
 public:
  static constexpr std::string_view kName = "frmLookup";

  // `current` is the code already in the box; it is chosen at the start when listed.
  LookupForm(std::vector<LookupItem> items, std::string_view current);

  const std::vector<LookupItem>& items() const { return items_; }
  // The number chosen with OK; nothing when the window was cancelled or closed.
  const std::optional<std::string>& chosen() const { return chosen_; }

  // For scripts: chooses the item with that number and presses OK. False when it is not listed.
  bool Choose(std::string_view number);

 private:
  std::vector<LookupItem> items_;
  std::optional<std::string> chosen_;
};

}  // namespace grfc
