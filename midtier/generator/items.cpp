// The item class tree (class 4), products, semi-products, materials and their BOMs.
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>

#include <fmt/format.h>

#include "midtier/generator/inserter.h"
#include "midtier/generator/names.h"
#include "midtier/generator/random.h"
#include "midtier/generator/world.h"

namespace gen {

namespace {

// Unit group indexes as laid down by writeBaseData.
enum Group : int { kCount = 0, kWeight, kLength, kMachine, kPiece, kKit, kVolume, kSheet };

struct Noun {
  std::string_view name;
  int group;
};

struct Category {
  std::string_view number;
  std::string_view name;
  std::string_view modelPrefix;
  std::span<const std::string_view> classNames;  // level-2 class names
  std::span<const Noun> nouns;
};

constexpr std::array<std::string_view, 12> kProductClasses = {
    "泵类", "电机类", "阀门类", "风机类", "控制柜类", "减速机类",
    "压缩机类", "仪表类", "换热器类", "输送设备类", "照明设备类", "五金工具类"};
constexpr std::array<Noun, 20> kProductNouns = {{
    {"离心泵", kMachine}, {"潜水泵", kMachine}, {"三相异步电机", kMachine}, {"伺服电机", kMachine},
    {"闸阀", kCount}, {"球阀", kCount}, {"轴流风机", kMachine}, {"离心风机", kMachine},
    {"配电柜", kMachine}, {"控制箱", kCount}, {"齿轮减速机", kMachine}, {"螺杆压缩机", kMachine},
    {"压力表", kCount}, {"流量计", kCount}, {"板式换热器", kMachine}, {"皮带输送机", kMachine},
    {"LED灯具", kCount}, {"工具套装", kKit}, {"扳手", kPiece}, {"管件套装", kKit},
}};
constexpr std::array<std::string_view, 8> kSemiClasses = {"机加件", "焊接件", "冲压件", "注塑件",
                                                          "电路板组件", "线束组件", "铸件", "喷涂件"};
constexpr std::array<Noun, 12> kSemiNouns = {{
    {"泵体", kPiece}, {"叶轮", kPiece}, {"电机壳", kPiece}, {"转子组件", kPiece}, {"定子组件", kPiece},
    {"阀体", kPiece}, {"支架", kPiece}, {"底座", kPiece}, {"控制板", kCount}, {"线束", kCount},
    {"端盖", kPiece}, {"齿轮轴", kPiece},
}};
constexpr std::array<std::string_view, 8> kRawClasses = {"钢材", "有色金属", "塑料原料", "电子元器件",
                                                         "电线电缆", "标准件", "橡胶制品", "轴承"};
constexpr std::array<Noun, 19> kRawNouns = {{
    {"冷轧钢板", kWeight}, {"热轧圆钢", kWeight}, {"不锈钢管", kLength}, {"铜排", kWeight},
    {"铝型材", kLength}, {"漆包线", kWeight}, {"ABS颗粒", kWeight}, {"PP颗粒", kWeight},
    {"电阻", kCount}, {"电容", kCount}, {"芯片", kCount}, {"电源线", kLength}, {"电缆", kLength},
    {"螺栓", kCount}, {"螺母", kCount}, {"垫圈", kCount}, {"深沟球轴承", kCount}, {"O型圈", kCount},
    {"橡胶垫", kCount},
}};
constexpr std::array<std::string_view, 6> kAuxClasses = {"油漆涂料", "润滑油脂", "焊材", "胶粘剂", "清洗剂", "劳保用品"};
constexpr std::array<Noun, 9> kAuxNouns = {{
    {"防锈漆", kVolume}, {"面漆", kVolume}, {"润滑脂", kWeight}, {"液压油", kVolume}, {"焊丝", kWeight},
    {"焊条", kWeight}, {"结构胶", kWeight}, {"清洗剂", kVolume}, {"劳保手套", kCount},
}};
constexpr std::array<std::string_view, 6> kPackClasses = {"纸箱", "木箱", "泡沫", "缠绕膜", "标签", "托盘"};
constexpr std::array<Noun, 7> kPackNouns = {{
    {"瓦楞纸箱", kCount}, {"出口木箱", kCount}, {"泡沫板", kSheet}, {"缠绕膜", kLength},
    {"产品标签", kSheet}, {"合格证", kSheet}, {"木托盘", kCount},
}};
constexpr Noun kVirtualNoun = {"配置特征件", kCount};

const std::array<Category, 5> kCategories = {{
    {"01", "产成品", "ZX", kProductClasses, kProductNouns},
    {"02", "半成品", "BJ", kSemiClasses, kSemiNouns},
    {"03", "原材料", "YL", kRawClasses, kRawNouns},
    {"04", "辅助材料", "FL", kAuxClasses, kAuxNouns},
    {"05", "包装物", "BZ", kPackClasses, kPackNouns},
}};

struct ClassNode {
  int64_t id;
  std::string number;
  std::string name;
  int level;
  int details = 0;  // detail items numbered under it so far
};

class TreeWriter {
 public:
  TreeWriter(World& world)
      : world_(world),
        items_(world, "t_Item",
               "FItemID,FItemClassID,FParentID,FNumber,FShortNumber,FFullNumber,FName,FLevel,FDetail"),
        details_(world, "t_ICItem",
                 "FItemID,FNumber,FShortNumber,FName,FModel,FErpClsID,FUnitGroupID,FUnitID,FStoreUnitID,"
                 "FProductUnitID,FQtyDecimal,FPriceDecimal") {}

  ClassNode addClass(const ClassNode* parent, int sequence, std::string name) {
    std::string shortNumber = fmt::format("{:02}", sequence);
    std::string number = parent != nullptr ? parent->number + "." + shortNumber : shortNumber;
    ClassNode node{world_.newItemId(), number, std::move(name), parent != nullptr ? parent->level + 1 : 1};
    items_.row(node.id, 4, parent != nullptr ? parent->id : 0, number, shortNumber, number, node.name, node.level, 0);
    return node;
  }

  void addDetail(ClassNode& parent, ItemInfo& item, const std::string& name, const std::string& model, int erpCls) {
    std::string shortNumber = fmt::format("{:04}", ++parent.details);
    std::string number = parent.number + "." + shortNumber;
    item.id = world_.newItemId();
    items_.row(item.id, 4, parent.id, number, shortNumber, number, name, parent.level + 1, 1);
    details_.row(item.id, number, shortNumber, name, model, erpCls, world_.unitGroups[static_cast<std::size_t>(item.group)].id,
                 item.baseUnit, item.storeUnit, item.productUnit, item.qtyDecimal, item.kind == ItemKind::Material ? 4 : 2);
  }

 private:
  World& world_;
  Inserter items_;
  Inserter details_;
};

// Class nodes of one category: level 2 under the category, level 3 under most level-2
// nodes, level 4 under some level-3 nodes. Returns the nodes that receive detail items.
// The first level-2 node always holds items directly and the last level-2 node always
// ends with a level-3 node split into level-4 nodes, so every depth occurs in every category.
std::vector<ClassNode> buildClassTree(TreeWriter& tree, const Category& category, const ClassNode& top,
                                      int64_t detailCount, Rng& rng) {
  const int64_t leafTarget = std::max<int64_t>(4, (detailCount + 23) / 24);
  const int level2 = static_cast<int>(std::clamp<int64_t>(std::llround(std::sqrt(double(leafTarget))), 2, 40));
  std::vector<ClassNode> leaves;
  auto splitIntoLevel4 = [&](const ClassNode& node3) {
    for (int k = 1; k <= 2; ++k) leaves.push_back(tree.addClass(&node3, k, fmt::format("{}{}组", node3.name, k)));
  };
  for (int i = 0; i < level2; ++i) {
    std::string name(category.classNames[static_cast<std::size_t>(i) % category.classNames.size()]);
    if (i >= static_cast<int>(category.classNames.size()))
      name += chineseNumeral(i / static_cast<int>(category.classNames.size()) + 1);
    ClassNode node2 = tree.addClass(&top, i + 1, name);
    if (i == 0 || (i != level2 - 1 && rng.percent(15))) {
      leaves.push_back(std::move(node2));
      continue;
    }
    const int64_t children = rng.between(1, std::max<int64_t>(2, 2 * leafTarget / level2));
    for (int64_t j = 0; j < children; ++j) {
      ClassNode node3 = tree.addClass(&node2, static_cast<int>(j + 1), fmt::format("{}{}系列", node2.name, char('A' + j % 26)));
      if (rng.percent(15)) {
        splitIntoLevel4(node3);
      } else {
        leaves.push_back(std::move(node3));
      }
    }
    if (i == level2 - 1)
      splitIntoLevel4(tree.addClass(&node2, static_cast<int>(children + 1), fmt::format("{}其他", node2.name)));
  }
  return leaves;
}

void setUnits(World& world, ItemInfo& item, const Noun& noun) {
  item.group = noun.group;
  const UnitGroupInfo& group = world.unitGroups[static_cast<std::size_t>(noun.group)];
  auto unitId = [&](int position) { return world.units[static_cast<std::size_t>(group.units[static_cast<std::size_t>(position)])].id; };
  item.baseUnit = unitId(0);
  item.qtyDecimal = group.qtyDecimal;
  if (item.kind == ItemKind::Material) {
    item.storeUnit = unitId(1);  // the larger purchase unit: 吨, 卷, 盒, 桶
    item.productUnit = item.baseUnit;
  } else {
    item.storeUnit = unitId(static_cast<int>(group.units.size()) > 2 ? 2 : 1);  // 箱, 托
    item.productUnit = unitId(1);                                                // 盒, 包
  }
}

void setCosts(ItemInfo& item, Rng& rng) {
  item.costCents = item.kind == ItemKind::Product ? rng.between(800, 150000) : rng.between(200, 30000);
  item.priceCents = item.costCents * rng.between(125, 180) / 100;
  std::array<int, 7>& share = item.elementShares;
  share = {0, static_cast<int>(rng.between(30, 80)), static_cast<int>(rng.between(100, 200)),
           static_cast<int>(rng.between(50, 120)), static_cast<int>(rng.between(20, 60)),
           static_cast<int>(rng.between(10, 40)), static_cast<int>(rng.between(5, 30))};
  share[0] = 1000 - (share[1] + share[2] + share[3] + share[4] + share[5] + share[6]);
}

BomLine bomLine(World& world, int32_t material, Rng& rng) {
  const ItemInfo& item = world.items[static_cast<std::size_t>(material)];
  double per = 0;
  switch (item.group) {
    case kWeight: per = double(rng.between(5, 5000)) / 1000; break;
    case kLength: per = double(rng.between(10, 500)) / 100; break;
    case kVolume: per = double(rng.between(1, 200)) / 100; break;
    default: per = double(rng.between(1, 8)); break;
  }
  return {material, per, rng.percent(80) ? item.baseUnit : item.storeUnit};
}

void buildBoms(World& world, Rng& rng) {
  for (int32_t index : world.producible) {
    ItemInfo& product = world.items[static_cast<std::size_t>(index)];
    const int lines = product.kind == ItemKind::Product ? static_cast<int>(rng.between(2, 5)) : static_cast<int>(rng.between(1, 3));
    std::vector<int32_t> chosen;
    if (product.kind == ItemKind::Product && !world.semis.empty() && rng.percent(30))
      chosen.push_back(world.semis[rng.below(world.semis.size())]);
    while (static_cast<int>(chosen.size()) < lines) {
      int32_t material = world.materials[rng.below(world.materials.size())];
      if (std::find(chosen.begin(), chosen.end(), material) == chosen.end()) chosen.push_back(material);
    }
    for (int32_t material : chosen) product.bom.push_back(bomLine(world, material, rng));
  }
}

}  // namespace

void writeItems(World& world) {
  Rng rng = Rng::stream(world.options.seed, kStreamItems);
  TreeWriter tree(world);
  const Sizes& sizes = world.sizes;
  const int64_t materialsPerCategory[3] = {sizes.materials * 60 / 100, sizes.materials * 25 / 100,
                                           sizes.materials - sizes.materials * 60 / 100 - sizes.materials * 25 / 100};
  for (std::size_t c = 0; c < kCategories.size(); ++c) {
    const Category& category = kCategories[c];
    const ItemKind kind = c == 0 ? ItemKind::Product : c == 1 ? ItemKind::SemiProduct : ItemKind::Material;
    const int64_t count = c == 0 ? sizes.products : c == 1 ? sizes.semiProducts : materialsPerCategory[c - 2];
    const int64_t virtuals = c == 0 ? sizes.virtualItems : 0;
    ClassNode top = tree.addClass(nullptr, static_cast<int>(c + 1), std::string(category.name));
    std::vector<ClassNode> leaves = buildClassTree(tree, category, top, count + virtuals, rng);
    // Level-3 classes take most items: they are drawn four times as often as the others.
    std::vector<std::size_t> draws;
    for (std::size_t l = 0; l < leaves.size(); ++l) draws.insert(draws.end(), leaves[l].level == 3 ? 4 : 1, l);
    for (int64_t i = 0; i < count + virtuals; ++i) {
      ItemInfo item;
      item.kind = i < count ? kind : ItemKind::Virtual;
      const Noun& noun = i < count ? category.nouns[rng.below(category.nouns.size())] : kVirtualNoun;
      setUnits(world, item, noun);
      if (item.kind == ItemKind::Product || item.kind == ItemKind::SemiProduct) setCosts(item, rng);
      std::string name = fmt::format("{}-{}{:02}", noun.name, char('A' + rng.below(8)), rng.between(1, 99));
      std::string model = fmt::format("{}-{}/{}", category.modelPrefix, rng.between(10, 999), rng.between(1, 60));
      const int erpCls = item.kind == ItemKind::Material ? 1 : item.kind == ItemKind::Virtual ? 4 : 2;
      // The first two items go to the shallowest and the deepest class, the rest anywhere.
      ClassNode& parent = i == 0 ? leaves.front() : i == 1 ? leaves.back() : leaves[draws[rng.below(draws.size())]];
      tree.addDetail(parent, item, name, model, erpCls);
      const auto index = static_cast<int32_t>(world.items.size());
      if (item.kind == ItemKind::Product || item.kind == ItemKind::SemiProduct) world.producible.push_back(index);
      if (item.kind == ItemKind::SemiProduct) world.semis.push_back(index);
      if (item.kind == ItemKind::Material) world.materials.push_back(index);
      world.items.push_back(std::move(item));
    }
  }
  buildBoms(world, rng);
}

}  // namespace gen
