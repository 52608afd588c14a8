// The item-level statements: SQL Server text that builds #ItemLevel, holding for every detail
// item of a class its number and, per level of the class tree, the number and name of its
// ancestor at that level. The text ends with the placeholder "##ITEMFILTER##", which the data
// service replaces with the report's item condition.
#pragma once

#include <cstdint>
#include <string>

namespace frame {

inline constexpr const char* kCrLf = "\r\n";

// `nameStyle` 1 shows names as "[number]name"; 0 plain names. The begin and end numbers
// compare on FNumber or FShortNumber by the module-wide long-number flag.
std::string ItemLevelStatements(int32_t itemClassId, const std::string& classPrefix, const std::string& beginNumber,
                                const std::string& endNumber, bool flag, int beginLevel, int endLevel,
                                int nameStyle);

// As above with the number column given (true: FNumber).
std::string ItemLevelStatementsWith(bool longNumbers, int32_t itemClassId, const std::string& classPrefix,
                                    const std::string& beginNumber, const std::string& endNumber, int beginLevel,
                                    int endLevel, int nameStyle);

}  // namespace frame
