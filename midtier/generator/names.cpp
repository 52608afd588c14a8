// Word lists and the composition of names.
#include "midtier/generator/names.h"

#include <array>

#include "midtier/generator/random.h"

namespace gen {

namespace {

constexpr std::array<std::string_view, 10> kDigits = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};

constexpr std::array<std::string_view, 30> kSurnames = {
    "王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡",
    "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹"};
constexpr std::array<std::string_view, 36> kGivenNames = {
    "伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛", "明", "超", "霞",
    "平", "刚", "建华", "秀英", "志强", "海燕", "国庆", "晓东", "春梅", "文博", "子涵", "雨萱", "浩然", "俊杰",
    "佳怡", "立新", "红梅", "德胜"};
constexpr std::array<std::string_view, 20> kCities = {
    "北京", "上海", "广州", "深圳", "杭州", "南京", "苏州", "武汉", "成都", "重庆",
    "天津", "西安", "长沙", "郑州", "青岛", "宁波", "厦门", "无锡", "佛山", "东莞"};
constexpr std::array<std::string_view, 16> kTradeNames = {
    "华鑫", "恒通", "宏达", "瑞丰", "东方", "金诚", "永泰", "新世纪",
    "中科", "远航", "博远", "鼎盛", "天合", "正泰", "启明", "嘉禾"};
constexpr std::array<std::string_view, 6> kCustomerKinds = {
    "机电有限公司", "设备有限公司", "贸易有限公司", "科技有限公司", "工程有限公司", "实业有限公司"};
constexpr std::array<std::string_view, 6> kSupplierKinds = {
    "钢铁有限公司", "材料有限公司", "电子有限公司", "五金制品厂", "包装有限公司", "化工有限公司"};
constexpr std::array<std::string_view, 8> kColours = {"红色", "蓝色", "白色", "黑色", "银色", "灰色", "绿色", "黄色"};
constexpr std::array<std::string_view, 8> kMemos = {
    "加急", "按单生产", "备库存", "客户指定包装", "返工", "样品试制", "出口订单", "分批交货"};

template <std::size_t N>
std::string_view any(Rng& rng, const std::array<std::string_view, N>& words) {
  return words[rng.below(N)];
}

}  // namespace

std::string chineseNumeral(int n) {
  if (n < 10) return std::string(kDigits[n]);
  std::string text = n >= 20 ? std::string(kDigits[n / 10]) : "";
  text += "十";
  text += kDigits[n % 10];
  return text;
}

std::string personName(Rng& rng) {
  std::string name(any(rng, kSurnames));
  name += any(rng, kGivenNames);
  return name;
}

std::string customerName(Rng& rng) {
  std::string name(any(rng, kCities));
  name += any(rng, kTradeNames);
  name += any(rng, kCustomerKinds);
  return name;
}

std::string supplierName(Rng& rng) {
  std::string name(any(rng, kCities));
  name += any(rng, kTradeNames);
  name += any(rng, kSupplierKinds);
  return name;
}

std::string_view colourName(int index) { return kColours[static_cast<std::size_t>(index)]; }
int colourCount() { return static_cast<int>(kColours.size()); }
std::string_view taskMemo(int index) { return kMemos[static_cast<std::size_t>(index)]; }
int taskMemoCount() { return static_cast<int>(kMemos.size()); }

}  // namespace gen
