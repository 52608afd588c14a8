// The SQL Server statements with which the comprehensive cost report totals the data
// service's per-period table #T499: the parts prepared when a filter is accepted, and the
// fragment dictionary ("Select", "Filter", "AppendFilter", "GROUPBY", "EndSel", "ITEMFILTER")
// built from them once per run, plain or rolled up over product-class levels. The service
// joins the fragments in that order into one batch and puts "ITEMFILTER" in place of the
// "##ITEMFILTER##" placeholder of the item-level statements.
#pragma once

#include <cstdint>
#include <string>

#include "platform/lumo/dictionary.h"

namespace cost {

// Statement parts kept by the report between acceptances of a filter.
struct StatementParts {
  std::string columns;  // column definitions of #Data, closing its CREATE TABLE
  std::string totals;   // the select list of the totals, ending in ","
  std::string from;     // " FROM #T499 v1"
  std::string where;    // " WHERE 1=1 "
};

// Prepares the parts for `filter` with the currency scale `scale`. The FROM and WHERE
// clauses are set unless "GroupBy" is 1 with a "SumMode" other than 1; then they keep the
// values `parts` holds.
void PrepareStatementParts(StatementParts& parts, const lumo::Dictionary& filter, int32_t scale);

// One row per product (and batch unless "GroupByBatchNo" is set) and a grand total "合计"
// (FSumSort 101); with "OnlyShowSum" 1 only the total remains.
lumo::DictionaryRef PlainFragments(const StatementParts& parts, const lumo::Dictionary& filter);

// As the plain fragments, rolled up over the product-class levels "BLevel" to "ELevel": the
// level names in FName<n>, a subtotal per class of level n (FSumSort 106 + n, "(小计)" after
// its name) and the grand total (101, "合计" in the first level's name). The item-level
// statements compare the product range on long or short numbers by `longNumbers`.
lumo::DictionaryRef ClassLevelFragments(const StatementParts& parts, const lumo::Dictionary& filter,
                                        bool longNumbers);

// The item condition that keeps #ItemLevel to the products present in #T499.
inline constexpr const char* kItemFilter = " And exists (Select FItemID From #T499  Where #T499.FItemID=t_Item.FItemID)";

}  // namespace cost
