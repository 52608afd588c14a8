// Rpt400's filter keys: what frmFilter400 writes and GetRpt400Data reads. Texts
// are stored with doubled quotes, dates as "YYYY-MM-DD" text.
#pragma once

#include "production/common/task_choices.h"

namespace production {
namespace rpt400 {

using frame::DefaultFrom;
using K = frame::KeyType;
inline constexpr std::string_view kFirstDay = "1900-01-01";
inline constexpr std::string_view kLastDay = "2100-01-01";

// Execute state, by the actual finish date against the planned one:
//   正常 (on time): finished on the planned finish date, or unfinished and not yet due;
//   提前 (early):   finished before the planned finish date;
//   延期 (late):    finished after the planned finish date, or unfinished and past it.
inline constexpr frame::KeyChoice kExecuteState[] = {
    {0, "全部"},
    {1, "正常", "($.FFinishDate = $.FPlanFinishDate OR ($.FFinishDate IS NULL AND $.FPlanFinishDate >= ?))"},
    {2, "提前", "$.FFinishDate < $.FPlanFinishDate"},
    {3, "延期", "($.FFinishDate > $.FPlanFinishDate OR ($.FFinishDate IS NULL AND $.FPlanFinishDate < ?))"}};

inline constexpr frame::FilterKey kKeys[] = {
    {"BDate", K::DateText, kFirstDay, "task date from"},
    {"EDate", K::DateText, kLastDay, "task date to"},
    {"BWorkDate", K::DateText, kFirstDay, "work start date from"},
    {"EWorkDate", K::DateText, kLastDay, "work start date to"},
    {"BPlanDate", K::DateText, kFirstDay, "planned finish date from"},
    {"EPlanDate", K::DateText, kLastDay, "planned finish date to"},
    {"BFactDate", K::DateText, "", "actual finish date from (with chkFinish=1)", {}, 0, 0, DefaultFrom::Value, true},
    {"EFactDate", K::DateText, "", "actual finish date to (with chkFinish=1)", {}, 0, 0, DefaultFrom::Value, true},
    {"BItemNumber", K::QuotedText, "", "product code from"},
    {"EItemNumber", K::QuotedText, "", "product code to"},
    {"BOrderBillNo", K::QuotedText, "", "sales order number from"},
    {"EOrderBillNo", K::QuotedText, "", "sales order number to"},
    {"BEmp", K::QuotedText, "", "salesman code from"},
    {"EEmp", K::QuotedText, "", "salesman code to"},
    {"BDept", K::QuotedText, "", "department code from"},
    {"EDept", K::QuotedText, "", "department code to"},
    {"BProductBillNo", K::QuotedText, "", "production task number from"},
    {"EProductBillNo", K::QuotedText, "", "production task number to"},
    {"BBatchNo", K::QuotedText, "", "production batch number"},
    {"DisplayType", K::Int16, "0", "rows shown (显示)", choices::kDisplayType, 0, 1},
    {"CheckState", K::Int16, "0", "bill state (单据状态)", choices::kCheckState, 0, 2},
    {"CheckClose", K::Int16, "2", "closed state (是否关闭)", choices::kCheckClose, 0, 2},
    {"ExecuteState", K::Int16, "0", "execute state (是否延期)", kExecuteState, 0, 3},
    {"chkFinish", K::Int16, "0", "use the actual finish date range (考虑完工日期)", choices::kCheck, 0, 1},
    {"OrderBy", K::Text, "", "ordering text"},
};

}  // namespace rpt400

inline constexpr frame::FilterKeys kRpt400Keys{400, rpt400::kKeys};

}  // namespace production
