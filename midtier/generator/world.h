// The generator's in-memory picture of the company, shared by its phases.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "midtier/generator/calendar.h"
#include "midtier/generator/generator.h"

namespace db {
class Database;
}

namespace gen {

class BulkLoader;

// How much of everything a given number of tasks brings.
struct Sizes {
  int64_t tasks;
  int64_t products;      // self-made finished products (class "01")
  int64_t semiProducts;  // self-made semi-finished products (class "02"), produced and consumed
  int64_t virtualItems;  // FErpClsID 4, never produced
  int64_t materials;     // purchased materials (classes "03".."05")
  int64_t batches;
  int departments;
  int employees;
  int customers;
  int suppliers;
  int stocks;
};
Sizes sizesFor(int64_t tasks);

struct UnitInfo {
  int64_t id;
  int group;  // index into World::unitGroups
  double coefficient;
};

struct UnitGroupInfo {
  int64_t id;
  std::vector<int> units;  // indexes into World::units, base unit first, then ascending
  int qtyDecimal;          // decimal places of quantities counted in this group
};

enum class ItemKind : uint8_t { Product, SemiProduct, Virtual, Material };

struct BomLine {
  int32_t material;  // index into World::items
  double per;        // base units of material per base unit of product
  int64_t unitId;    // unit the material is planned and issued in
};

struct ItemInfo {
  int64_t id = 0;
  ItemKind kind = ItemKind::Material;
  int group = 0;  // unit group index
  int64_t baseUnit = 0;
  int64_t storeUnit = 0;
  int64_t productUnit = 0;
  int qtyDecimal = 0;
  int64_t costCents = 0;             // standard cost per base unit (products)
  int64_t priceCents = 0;            // sale price per base unit (products)
  std::array<int, 7> elementShares{};  // cost element shares in per mille, summing to 1000
  std::vector<BomLine> bom;           // products
};

struct Batch {
  int32_t item;  // index into World::items
  Day base;      // the batch's tasks are dated from here to 20 days later
  std::string number;
};

struct Receipt {
  Day date;
  int32_t task;  // index into World::tasks (= FInterID - 1)
  int64_t qty;   // base unit
};

struct Task {
  int32_t item = 0;  // product, index into World::items
  int32_t batch = 0;
  int32_t origin = 0;  // index before sorting by date; keys the task's random stream
  Day date = 0, planStart = 0, planFinish = 0;
  Day start = kNoDay, finish = kNoDay, checkDate = kNoDay;
  int64_t unitId = 0;
  int64_t auxQty = 0, qty = 0, qtyFinish = 0, stockQty = 0;
  int64_t dept = 0, emp = 0, auxProp = 0, checker = 0;
  int64_t order = 0, orderEntry = 0;  // SEOrder link, 0 = none
  int32_t firstReceipt = 0, receiptCount = 0;
  int8_t status = 0, closed = 0;
  int8_t note = -1;  // index into the memo texts, -1 = none
  bool forOrder = false;  // made for a sales order
};

struct Employee {
  int64_t id;
  int64_t dept;
};

struct World {
  World(BulkLoader& loader, const Options& options);

  double coefficient(int64_t unitId) const { return units[static_cast<std::size_t>(unitId - 1)].coefficient; }
  int64_t newItemId() { return nextItemId++; }

  // Tells the caller's progress callback that `done` of `total` units of `step` are written;
  // calls it at most every few thousand units so the callback costs nothing measurable.
  void progress(std::string_view step, int64_t done, int64_t total) const {
    if (options.progress && (done % kProgressEvery == 0 || done == total)) options.progress(Progress{step, done, total});
  }
  static constexpr int64_t kProgressEvery = 4096;

  BulkLoader& loader;
  Options options;
  Sizes sizes;
  DateTexts dates;

  std::vector<UnitGroupInfo> unitGroups;
  std::vector<UnitInfo> units;  // FMeasureUnitID = index + 1
  std::vector<int64_t> productionDepts, salesDepts;
  std::vector<Employee> employees;
  std::vector<int32_t> salesmen;  // indexes into employees
  std::vector<int64_t> customers, suppliers;
  std::vector<int64_t> productStocks, semiStocks, materialStocks;
  std::vector<int64_t> checkers;  // user ids that check bills
  std::vector<int64_t> auxItems;

  std::vector<ItemInfo> items;     // detail items of class 4
  std::vector<int32_t> producible;  // products and semi-products (indexes into items)
  std::vector<int32_t> materials;   // purchased materials
  std::vector<int32_t> semis;       // semi-products

  std::vector<Batch> batches;
  std::vector<Task> tasks;  // in FInterID order
  std::vector<Receipt> receipts;

  int64_t nextItemId = 1;
};

// The phases, in the order generate() runs them.
void writeBaseData(World& world);     // units, departments, people, stocks, users, periods, profile
void writeItems(World& world);        // the item class tree, products, materials, their BOMs
void planTasks(World& world);         // batches, tasks and receipts, in memory
void writeSalesOrders(World& world);  // sales orders for the tasks made to order
void writeTasks(World& world);        // ICMO and PPBOM
void writeStockBills(World& world);   // product receipts and material issues
void writeCosts(World& world);        // cost per period, product and batch, and its elements

// Rounds to `decimals` places (half away from zero).
double roundTo(double value, int decimals);

}  // namespace gen
