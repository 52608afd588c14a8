// The window behind a filter dialog's "方案" action: load, delete or save the report's filter
// schemes through the dialog's filter grid. A plain form, so every front end can show it.
#pragma once

#include "platform/forms/form.h"

namespace grfc {
class ReportFilter;
}

namespace app::tui {

// Controls: cmbScheme (the saved schemes), cmdLoad, cmdDelete, txtName, cmdSave, cmdClose.
class SchemeForm : public forms::Form {
 public:
  explicit SchemeForm(grfc::ReportFilter& grid);

 private:
  void refill();
  grfc::ReportFilter& grid_;
};

}  // namespace app::tui
