// Product cost per period, product and batch, and its split into the seven cost elements.
#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>

#include "midtier/generator/inserter.h"
#include "midtier/generator/random.h"
#include "midtier/generator/world.h"

namespace gen {

namespace {

constexpr int kPeriods = kCurrentPeriodIndex + 1;  // 2025/1 .. 2026/11; later periods are not closed yet

struct CostRow {
  int32_t period;
  int32_t batch;
  int64_t itemId;
  int64_t startNum, inNum, outNum, endNum;      // base units
  int64_t startCost, inCost, outCost, endCost;  // cents
};

// The product's unit cost in a period: its standard cost within +-5%.
int64_t unitCostCents(const World& world, const ItemInfo& item, int period) {
  Rng rng = Rng::stream(world.options.seed, kStreamCosts, static_cast<uint64_t>(item.id) * 64 + static_cast<uint64_t>(period));
  return item.costCents * rng.between(950, 1050) / 1000;
}

// Work in progress of one batch: a task puts its quantity into production in the period
// it starts (a finished task only what it delivered, so nothing stays behind), and each
// receipt takes its lot out. Output is valued at the average cost of what was in process.
void costBatch(const World& world, int32_t batch, const std::vector<int32_t>& tasks, std::vector<CostRow>& rows) {
  std::array<int64_t, kPeriods> in{};
  std::array<int64_t, kPeriods> out{};
  for (int32_t t : tasks) {
    const Task& task = world.tasks[static_cast<std::size_t>(t)];
    if (task.start == kNoDay) continue;
    const int64_t input = task.finish != kNoDay ? task.stockQty : std::max(task.qty, task.stockQty);
    in[static_cast<std::size_t>(periodIndex(task.start))] += input;
    for (int32_t r = 0; r < task.receiptCount; ++r) {
      const Receipt& receipt = world.receipts[static_cast<std::size_t>(task.firstReceipt + r)];
      out[static_cast<std::size_t>(periodIndex(receipt.date))] += receipt.qty;
    }
  }
  const ItemInfo& item = world.items[static_cast<std::size_t>(world.batches[static_cast<std::size_t>(batch)].item)];
  int64_t num = 0;
  int64_t cost = 0;
  for (int p = 0; p < kPeriods; ++p) {
    const auto period = static_cast<std::size_t>(p);
    if (num == 0 && in[period] == 0 && out[period] == 0) continue;
    CostRow row{p, batch, item.id, num, in[period], out[period], 0, cost, 0, 0, 0};
    row.inCost = in[period] * unitCostCents(world, item, p);
    const int64_t availableNum = row.startNum + row.inNum;
    const int64_t availableCost = row.startCost + row.inCost;
    if (row.outNum >= availableNum) {
      row.outCost = availableCost;
    } else {  // rounded half up to the cent
      row.outCost = static_cast<int64_t>((static_cast<__int128>(availableCost) * row.outNum * 2 + availableNum) /
                                         (2 * static_cast<__int128>(availableNum)));
    }
    row.endNum = availableNum - row.outNum;
    row.endCost = availableCost - row.outCost;
    num = row.endNum;
    cost = row.endCost;
    rows.push_back(row);
  }
}

// The seven element amounts of an output cost; element 1 (direct material) takes the
// rounding so that they sum to the cost exactly.
std::array<int64_t, 7> splitIntoElements(const ItemInfo& item, int64_t cost) {
  std::array<int64_t, 7> amounts{};
  int64_t rest = cost;
  for (std::size_t e = 1; e < amounts.size(); ++e) {
    amounts[e] = cost * item.elementShares[e] / 1000;
    rest -= amounts[e];
  }
  amounts[0] = rest;
  return amounts;
}

double money(int64_t cents) { return static_cast<double>(cents) / 100; }

}  // namespace

void writeCosts(World& world) {
  // Tasks grouped by batch, in task order within a batch.
  std::vector<int32_t> byBatch(world.tasks.size());
  std::iota(byBatch.begin(), byBatch.end(), 0);
  std::stable_sort(byBatch.begin(), byBatch.end(), [&](int32_t a, int32_t b) {
    return world.tasks[static_cast<std::size_t>(a)].batch < world.tasks[static_cast<std::size_t>(b)].batch;
  });
  std::vector<CostRow> rows;
  std::vector<int32_t> members;
  for (std::size_t i = 0; i < byBatch.size();) {
    const int32_t batch = world.tasks[static_cast<std::size_t>(byBatch[i])].batch;
    members.clear();
    for (; i < byBatch.size() && world.tasks[static_cast<std::size_t>(byBatch[i])].batch == batch; ++i)
      members.push_back(byBatch[i]);
    costBatch(world, batch, members, rows);
  }
  // Written in the order of the table's key (year, period, product, batch).
  auto batchNo = [&](const CostRow& row) -> std::string_view {
    return world.batches[static_cast<std::size_t>(row.batch)].number;
  };
  std::sort(rows.begin(), rows.end(), [&](const CostRow& a, const CostRow& b) {
    if (a.period != b.period) return a.period < b.period;
    if (a.itemId != b.itemId) return a.itemId < b.itemId;
    return batchNo(a) < batchNo(b);
  });

  Inserter costs(world, "cb_ProductPeriodCost",
                 "FYear,FPeriod,FItemID,FBatchNo,FPeriodStartNum,FPeriodStartCost,FCurInNum,FCurInCost,"
                 "FCurOutNum,FCurOutCost,FPeriodEndNum,FPeriodEndCost");
  Inserter elements(world, "cb_CostElement", "FYear,FPeriod,FItemID,FBatchNo,FElementID,FAmount");
  const auto total = static_cast<int64_t>(rows.size());
  int64_t done = 0;
  for (const CostRow& row : rows) {
    world.progress("costs", ++done, total);
    const int year = periodYear(row.period);
    const int period = periodNumber(row.period);
    costs.row(year, period, row.itemId, batchNo(row), static_cast<double>(row.startNum), money(row.startCost),
              static_cast<double>(row.inNum), money(row.inCost), static_cast<double>(row.outNum), money(row.outCost),
              static_cast<double>(row.endNum), money(row.endCost));
    if (row.outNum == 0) continue;
    const ItemInfo& item = world.items[static_cast<std::size_t>(world.batches[static_cast<std::size_t>(row.batch)].item)];
    const std::array<int64_t, 7> amounts = splitIntoElements(item, row.outCost);
    for (std::size_t e = 0; e < amounts.size(); ++e)
      elements.row(year, period, row.itemId, batchNo(row), static_cast<int64_t>(e + 1), money(amounts[e]));
  }
}

}  // namespace gen
