// Rpt401's filter keys: what frmFilter401 writes and GetRpt401Data reads. Texts are stored
// with doubled quotes, dates as "YYYY-MM-DD" text.
#pragma once

#include "production/common/task_choices.h"

namespace production {
namespace rpt401 {

using frame::DefaultFrom;
using K = frame::KeyType;

// The summary basis: cmbGroupBy's item data, 0 when no entry is chosen.
inline constexpr frame::KeyChoice kSumMode[] = {{0, "（未选）"}, {1, "产品类别"}, {2, "部门"}};
// cmbGroupBy's list index.
inline constexpr frame::KeyChoice kGroupByListIndex[] = {{-1, "（未选）"}, {0, "产品类别"}, {1, "部门"}};
// How the product range is given: by code range, or by a product class (drill-down, scripts).
inline constexpr frame::KeyChoice kMode[] = {{0, "产品代码范围"}, {1, "产品类别"}};

inline constexpr frame::FilterKey kKeys[] = {
    {"BDate", K::DateText, "1900-01-01", "task date from"},
    {"EDate", K::DateText, "2100-01-01", "task date to"},
    {"BItemNumber", K::QuotedText, "", "product code from"},
    {"EItemNumber", K::QuotedText, "", "product code to"},
    {"BEmp", K::QuotedText, "", "salesman code from"},
    {"EEmp", K::QuotedText, "", "salesman code to"},
    {"BDept", K::QuotedText, "", "department code from"},
    {"EDept", K::QuotedText, "", "department code to"},
    {"BBatchNo", K::QuotedText, "", "batch number (contained)"},
    {"GroupBy", K::Int16, "0", "graded summary (分级汇总)", choices::kCheck, 0, 1},
    {"SumMode", K::Int16, "1", "summary basis (汇总依据)", kSumMode, 0, 2},
    {"BLevel", K::WholeDouble, "1", "first product-class level", {}, 1, 9},
    {"ELevel", K::WholeDouble, "5", "last product-class level", {}, 1, 9},
    {"OnlyShowSum", K::Int16, "0", "only subtotal and total rows (仅显示汇总行)", choices::kCheck, 0, 1},
    {"GroupByBatchNo", K::Int16, "0", "one row per product (按产品汇总)", choices::kCheck, 0, 1},
    {"GroupByListIndex", K::Int16, "0", "summary basis list index", kGroupByListIndex, -1, 1},
    {"CheckState", K::Int16, "2", "bill state (单据状态)", choices::kCheckState, 0, 2},
    {"CheckClose", K::Int16, "2", "closed state (是否关闭)", choices::kCheckClose, 0, 2},
    {"Mode", K::Int16, "0", "how the products are chosen", kMode, 0, 1},
    {"ItemClassNumber", K::Text, "", "product class number (Mode=1)", {}, 0, 0, DefaultFrom::Value, true},
};

}  // namespace rpt401

inline constexpr frame::FilterKeys kRpt401Keys{401, rpt401::kKeys};

}  // namespace production
