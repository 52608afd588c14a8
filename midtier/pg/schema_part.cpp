// Parts of the company schema, for a load that makes its tables on several connections.
#include <cctype>
#include <set>
#include <string>
#include <string_view>

#include "midtier/pg/schema.h"

namespace pg {

namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The word after `marker` in `statement` ("ALTER TABLE x", "CREATE INDEX i ON x").
std::string wordAfter(const std::string& statement, std::string_view marker) {
  const std::string text = lower(statement);
  std::size_t at = text.find(marker);
  if (at == std::string::npos) return {};
  at += marker.size();
  std::size_t end = at;
  while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
  return text.substr(at, end - at);
}

}  // namespace

Schema schemaPart(const Schema& schema, const std::vector<std::string>& tables) {
  std::set<std::string> wanted;
  for (const std::string& t : tables) wanted.insert(lower(t));
  Schema part;
  for (std::size_t i = 0; i < schema.tableNames.size(); ++i) {
    if (!wanted.contains(lower(schema.tableNames[i]))) continue;
    part.tableNames.push_back(schema.tableNames[i]);
    part.tables.push_back(schema.tables[i]);
  }
  for (const std::string& sql : schema.keys)
    if (wanted.contains(wordAfter(sql, "alter table "))) part.keys.push_back(sql);
  for (const std::string& sql : schema.indexes)
    if (wanted.contains(wordAfter(sql, " on "))) part.indexes.push_back(sql);
  for (const std::string& sql : schema.references)
    if (wanted.contains(wordAfter(sql, "alter table "))) part.references.push_back(sql);
  return part;
}

}  // namespace pg
