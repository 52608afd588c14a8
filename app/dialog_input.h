// The numbers a user types into a filter dialog's period and level boxes: checked before the
// dialog accepts them, with a message that names the field in the dialog's language so that the
// dialog can stay open with everything typed; and filled with their defaults when blank.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/catalog.h"
#include "app/filter_values.h"
#include "app/fiscal_calendar.h"
#include "platform/lumo/dictionary.h"

namespace app {

// "" when every typed number of `candidate` that `report` knows as a number fits its key; else
// the message for the first that does not ("截止年份不能为空，请输入 1970 到 9999 之间的整数。").
std::string checkTypedNumbers(const ReportInfo& report, const lumo::Dictionary& candidate);

// The message a dialog shows before it accepts `candidate` (what it would hand over): the typed
// numbers as above, then every rule of checkFilter, in the dialog's language; "" when it may.
std::string checkDialogFilter(const ReportInfo& report, const lumo::Dictionary& candidate,
                              const std::function<FiscalCalendar()>& calendar);

// What a dialog holds when it opens, with every blank number field the report knows filled with
// its default (the current accounting year and period where the key takes those); nullptr when
// no number field is blank. `current` is asked only when a default needs it.
lumo::DictionaryRef fillBlankNumbers(const ReportInfo& report, const lumo::Dictionary& candidate,
                                     const std::function<AccountingPeriod()>& current);

// The field a filter key stands for, as the dialogs label it ("截止年份" for "EYear"); the key
// itself when it has no label.
std::string fieldLabel(std::string_view key);

}  // namespace app
