// Product receipts (FTranType 2) and production material issues (FTranType 24).
#include <algorithm>
#include <numeric>

#include <fmt/format.h>

#include "midtier/generator/inserter.h"
#include "midtier/generator/issue_plan.h"
#include "midtier/generator/random.h"
#include "midtier/generator/world.h"

namespace gen {

namespace {

constexpr int kProductReceipt = 2;
constexpr int kMaterialIssue = 24;

// One bill to write: a group of receipts (positions [first, first + count) of the sorted
// receipt list) or one issue (task index `first`, issue number `count`).
struct Bill {
  Day date;
  int32_t kind;
  int32_t first;
  int32_t count;
  bool operator<(const Bill& other) const {
    if (date != other.date) return date < other.date;
    if (kind != other.kind) return kind < other.kind;
    return first != other.first ? first < other.first : count < other.count;
  }
};

// Receipts of the same day and department share a bill, up to four lines each.
std::vector<Bill> receiptBills(const World& world, std::vector<int32_t>& sorted) {
  sorted.resize(world.receipts.size());
  std::iota(sorted.begin(), sorted.end(), 0);
  auto key = [&](int32_t r) {
    const Receipt& receipt = world.receipts[static_cast<std::size_t>(r)];
    return std::tuple(receipt.date, world.tasks[static_cast<std::size_t>(receipt.task)].dept, r);
  };
  std::sort(sorted.begin(), sorted.end(), [&](int32_t a, int32_t b) { return key(a) < key(b); });
  Rng rng = Rng::stream(world.options.seed, kStreamBills);
  std::vector<Bill> bills;
  std::size_t i = 0;
  while (i < sorted.size()) {
    const auto [date, dept, unused] = key(sorted[i]);
    const auto cap = static_cast<std::size_t>(rng.between(1, 4));
    std::size_t j = i + 1;
    while (j < sorted.size() && j - i < cap) {
      const auto [nextDate, nextDept, other] = key(sorted[j]);
      if (nextDate != date || nextDept != dept) break;
      ++j;
    }
    bills.push_back({date, kProductReceipt, static_cast<int32_t>(i), static_cast<int32_t>(j - i)});
    i = j;
  }
  return bills;
}

void addIssueBills(const World& world, std::vector<Bill>& bills) {
  for (std::size_t t = 0; t < world.tasks.size(); ++t) {
    if (world.tasks[t].start == kNoDay) continue;
    const TaskMaterial planned = taskMaterial(world, world.tasks[t]);
    for (int32_t issue = 0; issue < 2; ++issue)
      if (planned.issueDays[issue] != kNoDay)
        bills.push_back({planned.issueDays[issue], kMaterialIssue, static_cast<int32_t>(t), issue});
  }
}

class BillWriter {
 public:
  explicit BillWriter(World& world)
      : world_(world),
        headers_(world, "ICStockBill", "FInterID,FBillNo,FTranType,FDate,FDeptID,FDCStockID,FSCStockID,FCheckerID"),
        entries_(world, "ICStockBillEntry",
                 "FInterID,FEntryID,FItemID,FUnitID,FAuxQty,FQty,FBatchNo,FICMOInterID,FPPBomEntryID") {}

  void receipt(int64_t id, const Bill& bill, const std::vector<int32_t>& sorted) {
    Rng rng = Rng::stream(world_.options.seed, kStreamBills, static_cast<uint64_t>(id));
    const Receipt& head = world_.receipts[static_cast<std::size_t>(sorted[static_cast<std::size_t>(bill.first)])];
    const Task& headTask = world_.tasks[static_cast<std::size_t>(head.task)];
    const bool semi = world_.items[static_cast<std::size_t>(headTask.item)].kind == ItemKind::SemiProduct;
    const std::vector<int64_t>& stocks = semi ? world_.semiStocks : world_.productStocks;
    headers_.row(id, fmt::format("CIN{:06}", ++receipts_), kProductReceipt, world_.dates[bill.date], headTask.dept,
                 stocks[rng.below(stocks.size())], 0, checker(bill.date, rng));
    for (int32_t e = 0; e < bill.count; ++e) {
      const Receipt& receipt = world_.receipts[static_cast<std::size_t>(sorted[static_cast<std::size_t>(bill.first + e)])];
      const Task& task = world_.tasks[static_cast<std::size_t>(receipt.task)];
      const ItemInfo& item = world_.items[static_cast<std::size_t>(task.item)];
      // In the task's unit when the lot is a whole number of it, else in the base unit.
      const auto coefficient = static_cast<int64_t>(world_.coefficient(task.unitId));
      const int64_t unit = receipt.qty % coefficient == 0 ? task.unitId : item.baseUnit;
      const int64_t aux = unit == task.unitId ? receipt.qty / coefficient : receipt.qty;
      entries_.row(id, e + 1, item.id, unit, static_cast<double>(aux), static_cast<double>(receipt.qty),
                   world_.batches[static_cast<std::size_t>(task.batch)].number, static_cast<int64_t>(receipt.task + 1), 0);
    }
  }

  void issue(int64_t id, const Bill& bill) {
    Rng rng = Rng::stream(world_.options.seed, kStreamBills, static_cast<uint64_t>(id));
    const Task& task = world_.tasks[static_cast<std::size_t>(bill.first)];
    const TaskMaterial planned = taskMaterial(world_, task);
    headers_.row(id, fmt::format("SOUT{:06}", ++issues_), kMaterialIssue, world_.dates[bill.date], task.dept, 0,
                 world_.materialStocks[rng.below(world_.materialStocks.size())], checker(bill.date, rng));
    int entry = 0;
    for (int l = 0; l < planned.count; ++l) {
      const PlannedLine& line = planned.lines[static_cast<std::size_t>(l)];
      const double qty = line.issued[bill.count];
      if (qty <= 0) continue;
      entries_.row(id, ++entry, line.materialId, line.bom->unitId, qty / world_.coefficient(line.bom->unitId), qty, "",
                   static_cast<int64_t>(bill.first + 1), l + 1);
    }
  }

 private:
  // Bills of the last week are often still unchecked.
  int64_t checker(Day date, Rng& rng) const {
    const bool checked = rng.percent(date > kToday - 7 ? 50 : 95);
    return checked ? world_.checkers[rng.below(world_.checkers.size())] : 0;
  }

  World& world_;
  Inserter headers_;
  Inserter entries_;
  int64_t receipts_ = 0;
  int64_t issues_ = 0;
};

}  // namespace

void writeStockBills(World& world) {
  std::vector<int32_t> sorted;
  std::vector<Bill> bills = receiptBills(world, sorted);
  addIssueBills(world, bills);
  std::sort(bills.begin(), bills.end());  // FInterID and bill numbers follow the dates
  BillWriter writer(world);
  for (std::size_t b = 0; b < bills.size(); ++b) {
    const auto id = static_cast<int64_t>(b + 1);
    if (bills[b].kind == kProductReceipt) {
      writer.receipt(id, bills[b], sorted);
    } else {
      writer.issue(id, bills[b]);
    }
    world.progress("stock bills", id, static_cast<int64_t>(bills.size()));
  }
}

}  // namespace gen
