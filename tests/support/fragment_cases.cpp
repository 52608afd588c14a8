#include "support/fragment_cases.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace support {
namespace {

constexpr std::string_view kBreak = "⏎";
constexpr std::string_view kJoin = "¦";

void setValue(lumo::Dictionary& filter, const std::string& key, const std::string& value) {
  const size_t dot = key.find('.');
  if (dot == std::string::npos) return filter.SetValue(key, value);
  const std::string outer = key.substr(0, dot);
  lumo::DictionaryRef inner = filter.Lookup(outer) ? filter.Value(outer).as<lumo::Dictionary>() : nullptr;
  if (!inner) {
    inner = lumo::newDictionary();
    filter.SetValue(outer, plat::Variant(inner));
  }
  setValue(*inner, key.substr(dot + 1), value);
}

}  // namespace

const std::string& FragmentCase::arg(const std::string& key) const {
  static const std::string none;
  auto it = args.find(key);
  return it == args.end() ? none : it->second;
}

std::vector<FragmentCase> readFragmentCases(const std::filesystem::path& file) {
  std::ifstream in(file);
  EXPECT_TRUE(in) << "cannot read " << file;
  std::vector<FragmentCase> cases;
  std::map<std::string, std::string> shared;  // the file's "text" blocks
  std::string* text = nullptr;
  bool skipping = false;  // after a broken text line, up to the next case or fragment
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string where = file.filename().string() + ":" + std::to_string(number);
    if (text) {
      if (line.starts_with("<< ")) {
        const auto block = shared.find(line.substr(3));
        if (block == shared.end()) ADD_FAILURE() << where << ": no text " << line.substr(3) << " above";
        else *text += block->second;
        continue;
      }
      if (line.ends_with(kBreak)) {
        *text += line.substr(0, line.size() - kBreak.size()) + "\r\n";
        continue;
      }
      if (line.ends_with(kJoin)) {
        *text += line.substr(0, line.size() - kJoin.size());
        continue;
      }
      text = nullptr;
      if (!line.empty() && !line.starts_with("case ") && !line.starts_with("== ") && !line.starts_with("text ")) {
        ADD_FAILURE() << where << ": a text line ends in neither ⏎ nor ¦: " << line;
        skipping = true;
      }
    }
    if (skipping && !line.starts_with("case ") && !line.starts_with("== ") && !line.starts_with("text ")) continue;
    skipping = false;
    if (line.empty() || line.starts_with("#")) continue;
    const size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "case") {
      cases.push_back(FragmentCase{rest, number, lumo::newDictionary(), {}, {}});
      continue;
    }
    if (word == "text" && !rest.empty()) {
      text = &shared[rest];
      continue;
    }
    if (cases.empty()) {
      ADD_FAILURE() << where << ": \"" << word << "\" before the first case";
      continue;
    }
    FragmentCase& current = cases.back();
    const size_t equals = rest.find('=');
    if ((word == "set" || word == "arg") && equals != std::string::npos) {
      const std::string key = rest.substr(0, equals), value = rest.substr(equals + 1);
      if (word == "set") setValue(*current.filter, key, value);
      else current.args[key] = value;
    } else if (word == "==" && !rest.empty()) {
      text = &current.fragments[rest];
    } else {
      ADD_FAILURE() << where << ": not a case line: " << line;
    }
  }
  return cases;
}

Fragments textsOf(const lumo::Dictionary& fragments) {
  Fragments out;
  for (const auto& [key, value] : fragments.entries()) out[key] = value.text();
  return out;
}

void expectFragments(const FragmentCase& expected, const Fragments& actual) {
  const std::string where = "case \"" + expected.name + "\" (line " + std::to_string(expected.line) + ")";
  for (const auto& [key, text] : expected.fragments) {
    auto it = actual.find(key);
    if (it == actual.end()) ADD_FAILURE() << where << ": no fragment " << key;
    else EXPECT_EQ(it->second, text) << where << ", fragment " << key;
  }
  for (const auto& [key, text] : actual)
    if (!expected.fragments.count(key)) ADD_FAILURE() << where << ": fragment " << key << " is not expected";
}

}  // namespace support
