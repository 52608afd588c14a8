// Expected SQL fragment texts kept in case files, so that a report's statements are compared
// whole with texts written out by hand, one file per report.
//
//   # a comment
//   case plain by batch            a case and its name
//   set GroupBy=0                  a filter value, kept as text (KEY.SUB=VALUE: a nested dictionary)
//   arg itemRange= AND t1.F>='1'   a value the test hands to the builder besides the filter
//   == SElECT                      the fragment of that key, then its text line by line:
//   SET NOCOUNT ON⏎                "⏎" stands for CR LF,
//   CREATE TABLE #DATA(¦           "¦" for the end of a piece with no break after it.
//   << columns                     the lines of the text block "columns", in their place.
//
//   text columns                   a block of text that the cases below name with "<<",
//   FItemNumber varchar(355) null,⏎  written out as a fragment is.
//
// Every text line ends in one of the two marks, so trailing spaces stay visible and exact.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/lumo/dictionary.h"

namespace support {

using Fragments = std::map<std::string, std::string>;

struct FragmentCase {
  std::string name;
  int line = 0;  // of its "case" line
  lumo::DictionaryRef filter;
  std::map<std::string, std::string> args;
  Fragments fragments;

  const std::string& arg(const std::string& key) const;  // "" when not given
};

// The cases of `file`; a malformed line fails the calling test and is reported with its number.
std::vector<FragmentCase> readFragmentCases(const std::filesystem::path& file);

// The key=text pairs of a fragment dictionary.
Fragments textsOf(const lumo::Dictionary& fragments);

// Fails the calling test, naming the case and the key, for each fragment that differs from the
// case's text and for a key only one side has.
void expectFragments(const FragmentCase& expected, const Fragments& actual);

}  // namespace support
