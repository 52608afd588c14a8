// The filter keys of the two cost reports: what frmFilter499 and frmFilter498 write and the cost
// data service reads. The period range defaults to the current year up to the current period.
#pragma once

#include "frame/report/filter_keys.h"

namespace cost {
namespace keys {

using frame::DefaultFrom;
using K = frame::KeyType;

inline constexpr frame::KeyChoice kCheck[] = {{0, "否"}, {1, "是"}};
// The roll-up basis; the dialog offers only the product class ("物料类别").
inline constexpr frame::KeyChoice kSumMode[] = {{0, "（未选）"}, {1, "物料类别"}, {2, "部门"}};

inline constexpr frame::FilterKey kRpt499[] = {
    {"BYear", K::Int16, "", "first year", {}, 1970, 9999, DefaultFrom::CurrentYear},
    {"BPeriod", K::Int16, "1", "first period", {}, 1, 12},
    {"EYear", K::Int16, "", "last year", {}, 1970, 9999, DefaultFrom::CurrentYear},
    {"EPeriod", K::Int16, "", "last period", {}, 1, 12, DefaultFrom::CurrentPeriod},
    {"BItemNumber", K::Text, "", "product code from"},
    {"EItemNumber", K::Text, "", "product code to"},
    {"GroupBy", K::Int16, "0", "roll up by product-class levels (分级汇总)", kCheck, 0, 1},
    {"SumMode", K::Int16, "1", "roll-up basis (汇总依据)", kSumMode, 0, 2},
    {"BLevel", K::Int16, "1", "first product-class level", {}, 1, 5},
    {"ELevel", K::Int16, "3", "last product-class level", {}, 1, 5},
    {"OnlyShowSum", K::Int16, "0", "only subtotal and total rows (仅显示汇总行)", kCheck, 0, 1},
    {"GroupByBatchNo", K::Int16, "0", "batches merged per product (按产品汇总)", kCheck, 0, 1},
};

inline constexpr frame::FilterKey kRpt498[] = {
    {"BYear", K::Int16, "", "first year", {}, 1970, 9999, DefaultFrom::CurrentYear},
    {"BPeriod", K::Int16, "1", "first period", {}, 1, 12},
    {"EYear", K::Int16, "", "last year", {}, 1970, 9999, DefaultFrom::CurrentYear},
    {"EPeriod", K::Int16, "", "last period", {}, 1, 12, DefaultFrom::CurrentPeriod},
    {"BItemNumber", K::Text, "", "product code from"},
    {"EItemNumber", K::Text, "", "product code to"},
    {"BatchNo", K::Text, "FBATCHNO", "batch number; FBATCHNO: any batch"},
};

}  // namespace keys

inline constexpr frame::FilterKeys kRpt499Keys{499, keys::kRpt499};
inline constexpr frame::FilterKeys kRpt498Keys{498, keys::kRpt498};

}  // namespace cost
