// The data-right clause: for the rights-bearing base tables a report joins, a condition that
// keeps only the rows the logged-in user may see.
#pragma once

#include <string>

#include "platform/lumo/dictionary.h"
#include "platform/lumo/vector.h"

namespace frame {

// A rule of the rule list: the base table, its key column, the document table's alias and
// referring column ("DataTableAs" is optional).
lumo::DictionaryRef DataRightRule(const std::string& dataTable, const std::string& dataCol,
                                  const std::string& billTableAs, const std::string& billCol);

// Parses the connection properties, reads the user id and appends to `whereClause` one
// " CharIndex('<user>',<alias>.FRightUserID)>0 " per restricted table, joined by " And ".
// `fromClause` is left as it is. Raises every error it meets. REQUIRES: rules has at least
// as many entries as tables.
bool BuildDataRight(const lumo::Vector& tables, const lumo::Vector& rules, std::string& fromClause,
                    std::string& whereClause, bool flag = false);

// As above, for a known properties text and user id (the builder proper).
bool BuildDataRightFor(const std::string& props, int16_t userId, const lumo::Vector& tables,
                       const lumo::Vector& rules, std::string& fromClause, std::string& whereClause);

}  // namespace frame
