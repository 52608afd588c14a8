// The base of every report's filter dialog: a modal form captioned for the report that hosts
// the report filter grid `grfFilter` and answers its events. The report reads `Result` after
// the modal show returns.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "frame/report/filter_keys.h"
#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/up_down.h"
#include "platform/grfc/report_filter.h"
#include "platform/lumo/dictionary.h"

namespace frame {

class FilterDialog : public forms::Form, public grfc::ReportFilterEvents {
 public:
  void SetRptID(int32_t id) { rptId_ = id; }
  int32_t RptID() const { return rptId_; }
  // The filter dictionary; nothing until the grid first hands one over.
  const lumo::DictionaryRef& Result() const { return result_; }
  const std::string& FilterString() const { return filterString_; }

 protected:
  FilterDialog(std::string name, std::string caption, int32_t rptId);

  grfc::ReportFilter& grid() const { return *grid_; }
  // Hands the grid the module-wide AutoFilter flag and initialises it with the report number.
  void InitGrid();
  void SetResultDictionary(lumo::DictionaryRef result) { result_ = std::move(result); }
  void SetFilterString(std::string text) { filterString_ = std::move(text); }

  // Design helpers: a label starting a row, then the controls of that row.
  forms::Label& addLabel(std::string caption, bool isInline = false);
  // "label" txt(first) "至:" txt(second), boxes of the control array `name`.
  void addTextRange(const std::string& label, const std::string& name, int first, int second);
  forms::TextBox& addText(const std::string& label, const std::string& name, int index);
  // "label" picker "至:" picker.
  void addDateRange(const std::string& label, const std::string& first, const std::string& second);
  forms::ComboBox& addList(const std::string& label, const std::string& name, std::initializer_list<const char*> items);
  // A list holding the captions of the key's choices, in table order (the list index is the
  // position in the table).
  forms::ComboBox& addList(const std::string& label, const std::string& name, const FilterKey& key);
  // Fills `list` anew with the captions of the key's choices.
  static void fillList(forms::ComboBox& list, const FilterKey& key);
  forms::CheckBox& addCheck(const std::string& caption, const std::string& name);

  forms::TextBox& txtItem(int index) const { return get<forms::TextBox>("txtItem", index); }
  forms::ComboBox& combo(const std::string& name) const { return get<forms::ComboBox>(name); }
  forms::CheckBox& check(const std::string& name) const { return get<forms::CheckBox>(name); }
  forms::DatePicker& picker(const std::string& name) const { return get<forms::DatePicker>(name); }

  void onUnload() override;

 private:
  int32_t rptId_;
  lumo::DictionaryRef result_;
  std::string filterString_;
  grfc::ReportFilter* grid_ = nullptr;
};

}  // namespace frame
