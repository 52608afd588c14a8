// Display widths of Chinese and mixed text.
#include <gtest/gtest.h>

#include "app/table/text_width.h"

namespace app {
namespace {

TEST(TextWidth, WideCharactersTakeTwoCells) {
  const std::vector<std::pair<std::string, size_t>> cases = {
      {"", 0},           {"abc", 3},           {"产品代码", 8},  {"单位（基本）", 12},  // fullwidth brackets
      {"起始日期：", 10}, {"A级产品类别$", 12},  {"ＡＢ", 4},      {"e\u0301", 1},         // combining accent
      {"한글", 4},        {"\xff", 1},            {"数量(基本)", 10},
  };
  for (const auto& [text, cells] : cases) EXPECT_EQ(displayWidth(text), cells) << text;
}

TEST(TextWidth, CutsAndPadsBetweenCharacters) {
  EXPECT_EQ(fitPrefix("产品代码", 5), "产品");
  EXPECT_EQ(padTo("产品", 6), "产品  ");
  EXPECT_EQ(padTo("12", 5, true), "   12");
  EXPECT_EQ(padTo("产品代码", 5), "产品…");
  EXPECT_EQ(displayWidth(padTo("生产任务数量", 7)), 7u);
}

}  // namespace
}  // namespace app
