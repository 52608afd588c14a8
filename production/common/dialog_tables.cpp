#include "production/common/dialog_tables.h"

#include "frame/list/frm_list.h"
#include "frame/sql/literal.h"
#include "platform/forms/combo_box.h"

namespace production {
namespace {

std::string undouble(std::string text) {
  for (size_t at = text.find("''"); at != std::string::npos; at = text.find("''", at + 1)) text.erase(at, 1);
  return text;
}

}  // namespace

void SaveTexts(const forms::Form& form, std::span<const TextKey> keys, lumo::Dictionary& filter, bool doubleQuotes) {
  for (const TextKey& k : keys) {
    const std::string& text = form.get<forms::TextBox>("txtItem", k.box).Text();
    filter.SetValue(k.key, doubleQuotes ? frame::DoubleQuotes(text) : text);
  }
}

void LoadTexts(forms::Form& form, std::span<const TextKey> keys, const lumo::Dictionary& saved, bool undoubleQuotes) {
  for (const TextKey& k : keys) {
    std::string text = saved.ValueOrDefault(k.key, "").text();
    form.get<forms::TextBox>("txtItem", k.box).SetText(undoubleQuotes ? undouble(std::move(text)) : std::move(text));
  }
}

void AnswerLookup(std::span<const LookupRow> table, forms::Control*& box, int32_t& classId, std::string& condition,
                  bool billLookup) {
  if (!box) return;
  for (const LookupRow& row : table) {
    if (box->index() != row.first && box->index() != row.second) continue;
    if (row.billType == 0) {
      classId = row.classId;
      if (row.condition) condition = row.condition;
    } else if (billLookup) {
      int32_t tranType = 0;
      std::string extraFilter;
      frame::BillNoLookup(row.billType, tranType, dynamic_cast<forms::TextBox*>(box), extraFilter);
    }
    return;
  }
}

int16_t ListValue(const forms::Form& form, const std::string& name) {
  return static_cast<int16_t>(form.get<forms::ComboBox>(name).ListIndex());
}

int ListIndexOf(const plat::Variant& saved, int fallback) {
  if (saved.isEmpty() || saved.isNull()) return fallback;
  if (saved.isNumber()) return saved.toInt16();
  const std::string text = saved.text();
  return text.empty() ? fallback : static_cast<int>(plat::val(text));
}

}  // namespace production
