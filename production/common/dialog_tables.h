// Tables the production task filter dialogs share: which text box carries which filter key,
// and what each code box looks up.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/lumo/dictionary.h"

namespace production {

// The filter key of the text box txtItem(box).
struct TextKey {
  const char* key;
  int box;
};

// Writes the boxes' texts under their keys, in table order; `doubleQuotes` doubles every "'".
void SaveTexts(const forms::Form& form, std::span<const TextKey> keys, lumo::Dictionary& filter, bool doubleQuotes);
// Fills the boxes from the keys ("" for a missing key); `undoubleQuotes` turns "''" back
// into "'" (the form of a text that SaveTexts doubled).
void LoadTexts(forms::Form& form, std::span<const TextKey> keys, const lumo::Dictionary& saved, bool undoubleQuotes);

// What the code boxes txtItem(first) and txtItem(second) look up: a base-data class (with an
// extra condition, or nullptr), or, when `billType` is not 0, a bill number of that type.
struct LookupRow {
  int first, second;
  int32_t classId;
  const char* condition;
  int32_t billType;
};

// The GetLookupClass answer for `box`: sets the class and condition of its row; for a bill
// row runs the bill-number lookup into the box when `billLookup` is set. Rows not in the
// table change nothing.
void AnswerLookup(std::span<const LookupRow> table, forms::Control*& box, int32_t& classId, std::string& condition,
                  bool billLookup);

// A list's chosen index as the 16-bit value the filters store.
int16_t ListValue(const forms::Form& form, const std::string& name);
// The list index a saved value stands for: its numeric value, `fallback` when it has none.
int ListIndexOf(const plat::Variant& saved, int fallback);

}  // namespace production
