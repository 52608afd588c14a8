// Tables the production task filter dialogs share: which text box carries which filter key,
// and what each code box looks up.
#pragma once

#include <array>
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

// The eight code boxes of the overdue-warning and the material-variance dialogs: product,
// department, task bill and employee ranges in boxes 0-7.
namespace task_boxes {
// SaveFilter writes the task bill range first, then the dates, then the codes.
inline constexpr std::array<TextKey, 2> kBills{{{"BMOBillNo", 4}, {"EMOBillNO", 5}}};
inline constexpr std::array<TextKey, 6> kCodes{{{"BItemNumber", 0},
                                                {"EItemNumber", 1},
                                                {"BDeptNumber", 2},
                                                {"EDeptNumber", 3},
                                                {"BEmpNumber", 6},
                                                {"EEmpNumber", 7}}};
// LoadFilter reads the boxes in box order.
inline constexpr std::array<TextKey, 8> kLoadOrder{{{"BItemNumber", 0},
                                                    {"EItemNumber", 1},
                                                    {"BDeptNumber", 2},
                                                    {"EDeptNumber", 3},
                                                    {"BMOBillNo", 4},
                                                    {"EMOBillNo", 5},
                                                    {"BEmpNumber", 6},
                                                    {"EEmpNumber", 7}}};
inline constexpr std::array<LookupRow, 4> kLookups{{{0, 1, 4, " x2.FErpClsID<>4", 0},
                                                    {2, 3, 2, nullptr, 0},
                                                    {6, 7, 3, nullptr, 0},
                                                    {4, 5, 0, nullptr, 36}}};
}  // namespace task_boxes

// A list's chosen index as the 16-bit value the filters store.
int16_t ListValue(const forms::Form& form, const std::string& name);
// The list index a saved value stands for: its numeric value, `fallback` when it has none.
int ListIndexOf(const plat::Variant& saved, int fallback);

}  // namespace production
