// Units, departments, employees, customers, suppliers, stocks, users and settings.
#include <array>
#include <set>
#include <string>

#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/generator/inserter.h"
#include "midtier/generator/names.h"
#include "midtier/generator/random.h"
#include "midtier/generator/world.h"

namespace gen {

namespace {

struct UnitDef {
  std::string_view number;
  std::string_view name;
  double coefficient;
};

struct UnitGroupDef {
  std::string_view number;
  std::string_view name;
  int qtyDecimal;
  std::array<UnitDef, 3> units;  // base unit first; an empty number ends the list
};

// Unit group indexes used by the item phase: 0 count, 1 weight, 2 length, 3 machines,
// 4 pieces, 5 kits, 6 volume, 7 sheets.
constexpr std::array<UnitGroupDef, 8> kUnitGroups = {{
    {"G01", "数量组", 0, {{{"PCS", "个", 1}, {"BOX", "盒", 10}, {"CTN", "箱", 100}}}},
    {"G02", "重量组", 3, {{{"KG", "千克", 1}, {"T", "吨", 1000}, {"G", "克", 0.001}}}},
    {"G03", "长度组", 2, {{{"M", "米", 1}, {"ROLL", "卷", 50}, {"CM", "厘米", 0.01}}}},
    {"G04", "台组", 0, {{{"SET", "台", 1}, {"PLT", "托", 20}, {"", "", 0}}}},
    {"G05", "件组", 0, {{{"PC", "件", 1}, {"PKG", "包", 12}, {"CTN144", "箱", 144}}}},
    {"G06", "套组", 0, {{{"KIT", "套", 1}, {"CTN5", "箱", 5}, {"", "", 0}}}},
    {"G07", "容积组", 3, {{{"L", "升", 1}, {"DRUM", "桶", 200}, {"ML", "毫升", 0.001}}}},
    {"G08", "张组", 0, {{{"SHT", "张", 1}, {"REAM", "令", 500}, {"", "", 0}}}},
}};

enum class StockUse { Product, Semi, Material, Other };
struct StockDef {
  std::string_view name;
  StockUse use;
};
constexpr std::array<StockDef, 12> kStocks = {{
    {"成品仓", StockUse::Product},   {"半成品仓", StockUse::Semi},     {"原材料仓", StockUse::Material},
    {"辅料仓", StockUse::Material},  {"包装物仓", StockUse::Material}, {"不良品仓", StockUse::Other},
    {"成品二仓", StockUse::Product}, {"原材料二仓", StockUse::Material}, {"外协仓", StockUse::Other},
    {"成品三仓", StockUse::Product}, {"五金仓", StockUse::Material},   {"备品备件仓", StockUse::Other},
}};

constexpr std::array<std::string_view, 6> kSupportDepts = {"总经理办公室", "财务部", "采购部",
                                                           "仓储部",       "质检部", "技术部"};

// Demo users: the administrator sees everything; 张明 is restricted on customers and
// stocks, 李华 on suppliers.
constexpr int64_t kAdministrator = 16394;
constexpr int64_t kSalesUser = 16395;
constexpr int64_t kPurchaseUser = 16396;

class FlatItemWriter {  // t_Item rows of the flat classes
 public:
  explicit FlatItemWriter(World& world)
      : world_(world), insert_(world, "t_Item",
                               "FItemID,FItemClassID,FParentID,FNumber,FShortNumber,FFullNumber,FName,FLevel,FDetail") {}

  int64_t add(int itemClass, const std::string& number, const std::string& name) {
    int64_t id = world_.newItemId();
    insert_.row(id, itemClass, 0, number, number, number, name, 1, 1);
    return id;
  }

 private:
  World& world_;
  Inserter insert_;
};

void writeUnits(World& world) {
  Inserter groups(world, "t_UnitGroup", "FUnitGroupID,FNumber,FName,FDefaultUnitID");
  Inserter units(world, "t_MeasureUnit", "FMeasureUnitID,FUnitGroupID,FNumber,FName,FCoefficient");
  for (const UnitGroupDef& def : kUnitGroups) {
    UnitGroupInfo group{static_cast<int64_t>(world.unitGroups.size() + 1), {}, def.qtyDecimal};
    groups.row(group.id, def.number, def.name, static_cast<int64_t>(world.units.size() + 1));
    for (const UnitDef& unit : def.units) {
      if (unit.number.empty()) break;
      group.units.push_back(static_cast<int>(world.units.size()));
      world.units.push_back({static_cast<int64_t>(world.units.size() + 1),
                             static_cast<int>(world.unitGroups.size()), unit.coefficient});
      units.row(world.units.back().id, group.id, unit.number, unit.name, unit.coefficient);
    }
    world.unitGroups.push_back(std::move(group));
  }
}

void writeDepartmentsAndEmployees(World& world, FlatItemWriter& items, Rng& rng) {
  const int total = world.sizes.departments;
  const int sales = total >= 16 ? 4 : 2;
  const int support = total >= 12 ? 6 : 3;
  Inserter departments(world, "t_Department", "FItemID,FNumber,FName");
  std::vector<int64_t> all;
  for (int i = 0; i < total; ++i) {
    std::string name;
    if (i < sales) {
      name = fmt::format("销售{}部", chineseNumeral(i + 1));
    } else if (i < sales + support) {
      name = std::string(kSupportDepts[static_cast<std::size_t>(i - sales)]);
    } else {
      name = fmt::format("第{}车间", chineseNumeral(i - sales - support + 1));
    }
    std::string number = fmt::format("{:02}", i + 1);
    int64_t id = items.add(2, number, name);
    departments.row(id, number, name);
    all.push_back(id);
    if (i < sales) {
      world.salesDepts.push_back(id);
    } else if (i >= sales + support) {
      world.productionDepts.push_back(id);
    }
  }
  Inserter employees(world, "t_Emp", "FItemID,FNumber,FName,FDepartmentID");
  for (int i = 0; i < world.sizes.employees; ++i) {
    // Every sales department gets staff first, so there are always salesmen.
    int64_t dept = all[static_cast<std::size_t>(i % total)];
    std::string number = fmt::format("{:04}", i + 1);
    std::string name = personName(rng);
    int64_t id = items.add(3, number, name);
    employees.row(id, number, name, dept);
    if (i % total < sales) world.salesmen.push_back(static_cast<int32_t>(world.employees.size()));
    world.employees.push_back({id, dept});
  }
}

// Customers and suppliers: names made unique by a branch suffix where they repeat.
void writePartners(World& world, FlatItemWriter& items, Rng& rng, bool customers) {
  Inserter insert(world, customers ? "t_organization" : "t_supplier", "FItemID,FNumber,FName,FRightUserID");
  std::set<std::string> used;
  const int count = customers ? world.sizes.customers : world.sizes.suppliers;
  for (int i = 0; i < count; ++i) {
    std::string name = customers ? customerName(rng) : supplierName(rng);
    for (int branch = 2; used.count(name) != 0; ++branch) name = fmt::format("{}({})", name, branch);
    used.insert(name);
    std::string number = fmt::format("{}{:04}", customers ? 'C' : 'S', i + 1);
    int64_t id = items.add(customers ? 1 : 8, number, name);
    // Who may see the row; the restricted users see about two thirds.
    std::string rights = customers ? (rng.percent(65) ? ",16394,16395,16396," : ",16394,16396,")
                                   : (rng.percent(70) ? ",16394,16395,16396," : ",16394,16395,");
    insert.row(id, number, name, rights);
    (customers ? world.customers : world.suppliers).push_back(id);
  }
}

void writeStocks(World& world, FlatItemWriter& items) {
  Inserter insert(world, "t_stock", "FItemID,FNumber,FName,FRightUserID");
  for (int i = 0; i < world.sizes.stocks; ++i) {
    const StockDef& def = kStocks[static_cast<std::size_t>(i)];
    std::string number = fmt::format("{:02}", i + 1);
    int64_t id = items.add(5, number, std::string(def.name));
    // 张明 (sales) sees only the finished-goods stocks.
    insert.row(id, number, def.name, def.use == StockUse::Product ? ",16394,16395,16396," : ",16394,16396,");
    if (def.use == StockUse::Product) world.productStocks.push_back(id);
    if (def.use == StockUse::Semi) world.semiStocks.push_back(id);
    if (def.use == StockUse::Material) world.materialStocks.push_back(id);
  }
}

void writeUsersAndRights(World& world) {
  Inserter users(world, "t_User", "FUserID,FName");
  users.row(kAdministrator, "administrator");
  users.row(kSalesUser, "张明");
  users.row(kPurchaseUser, "李华");
  world.checkers = {kAdministrator, kSalesUser, kPurchaseUser};
  Inserter rights(world, "t_DataRight", "FUserID,FKind,FRestricted");
  for (int kind : {1, 2, 4}) {
    rights.row(kAdministrator, kind, 0);
    rights.row(kSalesUser, kind, kind == 2 ? 0 : 1);
    rights.row(kPurchaseUser, kind, kind == 2 ? 1 : 0);
  }
}

void writeCalendarAndSettings(World& world) {
  Inserter periods(world, "t_PeriodDate", "FYear,FPeriod,FPeriodStart,FPeriodEnd");
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    for (int month = 1; month <= kPeriodsPerYear; ++month) {
      Day first = dayFromCivil(year, month, 1);
      Day next = month == 12 ? dayFromCivil(year + 1, 1, 1) : dayFromCivil(year, month + 1, 1);
      periods.row(year, month, world.dates[first], world.dates[next - 1]);
    }
  }
  Inserter profile(world, "t_SystemProfile", "FCategory,FKey,FValue");
  profile.row("GL", "PeriodCount", std::to_string(kPeriodsPerYear));
  profile.row("GL", "CurrencyScale", "2");
  profile.row("IC", "UseShortNumber", "0");
  profile.row("IC", "CurrentYear", std::to_string(kCurrentYear));
  profile.row("IC", "CurrentPeriod", std::to_string(kCurrentPeriod));
  Inserter elements(world, "cb_CostElementDef", "FElementID,FName");
  constexpr std::array<std::string_view, 7> kElements = {"直接材料", "辅助材料", "直接人工", "制造费",
                                                         "折旧费",   "水电费",   "其它费用"};
  for (std::size_t i = 0; i < kElements.size(); ++i) elements.row(static_cast<int64_t>(i + 1), kElements[i]);
  Inserter aux(world, "t_AuxItem", "FItemID,FNumber,FName");
  for (int i = 0; i < colourCount(); ++i) {
    aux.row(i + 1, fmt::format("{:02}", i + 1), colourName(i));
    world.auxItems.push_back(i + 1);
  }
}

}  // namespace

void writeBaseData(World& world) {
  Rng rng = Rng::stream(world.options.seed, kStreamBaseData);
  writeUnits(world);
  FlatItemWriter items(world);
  writeDepartmentsAndEmployees(world, items, rng);
  writePartners(world, items, rng, true);
  writePartners(world, items, rng, false);
  writeStocks(world, items);
  writeUsersAndRights(world);
  writeCalendarAndSettings(world);
}

}  // namespace gen
