// Batches, production tasks and their product receipts, planned in memory.
#include <algorithm>
#include <array>
#include <limits>

#include <fmt/format.h>

#include "midtier/generator/names.h"
#include "midtier/generator/random.h"
#include "midtier/generator/world.h"

namespace gen {

namespace {

void makeBatches(World& world) {
  Rng rng = Rng::stream(world.options.seed, kStreamBatches);
  const auto products = static_cast<int64_t>(world.producible.size());
  world.batches.reserve(static_cast<std::size_t>(world.sizes.batches));
  for (int64_t b = 0; b < world.sizes.batches; ++b) {
    // Every product gets a batch before any gets a second one.
    int32_t item = world.producible[static_cast<std::size_t>(b < products ? b : static_cast<int64_t>(rng.below(products)))];
    Day base = kFirstDay + static_cast<Day>(rng.below(kToday - kFirstDay + 1));
    world.batches.push_back({item, base, {}});
  }
  // Batch numbers follow the dates: "P" + year and month of the first task + sequence.
  std::stable_sort(world.batches.begin(), world.batches.end(),
                   [](const Batch& a, const Batch& b) { return a.base < b.base; });
  for (std::size_t b = 0; b < world.batches.size(); ++b) {
    CivilDate date = civilFromDay(world.batches[b].base);
    world.batches[b].number = fmt::format("P{:02}{:02}-{:05}", date.year % 100, date.month, b + 1);
  }
}

// Planned quantity in one of the product's three units.
void planQuantity(World& world, Task& task, Rng& rng) {
  const ItemInfo& item = world.items[static_cast<std::size_t>(task.item)];
  const int choice = static_cast<int>(rng.below(100));
  if (choice < 50) {
    task.unitId = item.baseUnit;
    task.auxQty = rng.between(1, 60) * 5;
  } else if (choice < 80) {
    task.unitId = item.productUnit;
    task.auxQty = rng.between(1, 40);
  } else {
    task.unitId = item.storeUnit;
    task.auxQty = rng.between(1, 12);
  }
  task.qty = task.auxQty * static_cast<int64_t>(world.coefficient(task.unitId));
}

// Where the task stands on 2026-11-30: not started, running, or finished early,
// on time or late; some never finish and stay open past their planned finish.
void planProgress(Task& task, Rng& rng) {
  const bool due = task.planStart <= kToday;
  const bool started = due && rng.percent(kToday - task.planStart < 30 ? 75 : 98);
  if (!started) {
    task.status = static_cast<int8_t>(rng.percent(50) ? 1 : 0);
    return;
  }
  task.status = 1;
  task.start = std::clamp<Day>(task.planStart + static_cast<Day>(rng.between(-2, 3)), task.date, kToday);
  const int outcome = static_cast<int>(rng.below(100));
  Day finish = kNoDay;
  if (outcome < 25) {
    finish = task.planFinish - static_cast<Day>(rng.between(1, 5));  // early
  } else if (outcome < 60) {
    finish = task.planFinish;  // on time
  } else if (outcome < 90) {
    finish = task.planFinish + static_cast<Day>(rng.between(1, 20));  // late
  }  // else stalled: still open, overdue once the planned finish has passed
  if (finish != kNoDay && std::max(finish, task.start) <= kToday) {
    task.finish = std::max(finish, task.start);
    task.status = 3;
    task.closed = static_cast<int8_t>(rng.percent(90) ? 1 : 0);
    const int yield = static_cast<int>(rng.below(100));
    if (yield < 80) {
      task.qtyFinish = task.qty;
    } else if (yield < 90) {
      task.qtyFinish = std::max<int64_t>(1, task.qty * rng.between(90, 99) / 100);
    } else {
      task.qtyFinish = task.qty * rng.between(101, 105) / 100;
    }
  } else {
    const int64_t duration = std::max<int64_t>(1, task.planFinish - task.start);
    const int64_t elapsed = std::min<int64_t>(95, 100 * (kToday - task.start) / duration);
    task.qtyFinish = task.qty * elapsed * rng.between(50, 100) / 10000;
  }
}

Task makeTask(World& world, int32_t origin) {
  Rng rng = Rng::stream(world.options.seed, kStreamTasks, static_cast<uint64_t>(origin));
  Task task;
  task.origin = origin;
  const auto batches = static_cast<int64_t>(world.batches.size());
  task.batch = static_cast<int32_t>(origin < batches ? origin : static_cast<int64_t>(rng.below(batches)));
  const Batch& batch = world.batches[static_cast<std::size_t>(task.batch)];
  task.item = batch.item;
  task.date = std::min<Day>(batch.base + static_cast<Day>(rng.between(0, 20)), kToday);
  task.planStart = task.date + static_cast<Day>(rng.between(0, 5));
  task.planFinish = task.planStart + static_cast<Day>(rng.between(3, 30));
  planQuantity(world, task, rng);
  task.dept = world.productionDepts[rng.below(world.productionDepts.size())];
  task.emp = world.employees[rng.below(world.employees.size())].id;
  task.forOrder = rng.percent(60);
  if (rng.percent(20)) task.auxProp = world.auxItems[rng.below(world.auxItems.size())];
  if (rng.percent(30)) task.note = static_cast<int8_t>(rng.below(static_cast<uint64_t>(taskMemoCount())));
  planProgress(task, rng);
  if (task.status != 0) {  // released tasks are checked; planned ones not yet
    task.checker = world.checkers[rng.below(world.checkers.size())];
    task.checkDate = std::min<Day>(task.date + static_cast<Day>(rng.between(0, 2)), kToday);
    if (task.start != kNoDay) task.checkDate = std::min(task.checkDate, task.start);
  }
  return task;
}

// Splits `total` into `parts` positive quantities.
void splitQuantity(int64_t total, int parts, Rng& rng, int64_t* out) {
  int64_t remaining = total;
  for (int i = 0; i < parts - 1; ++i) {
    int64_t share = std::max<int64_t>(1, remaining * rng.between(30, 60) / 100);
    share = std::min<int64_t>(share, remaining - (parts - 1 - i));
    out[i] = share;
    remaining -= share;
  }
  out[parts - 1] = remaining;
}

// Product receipts: finished tasks are received in one to three lots, mostly in full;
// running tasks may have received part of what they finished.
void makeReceipts(World& world, int32_t index) {
  Task& task = world.tasks[static_cast<std::size_t>(index)];
  task.firstReceipt = static_cast<int32_t>(world.receipts.size());
  if (task.start == kNoDay || task.qtyFinish == 0) return;
  Rng rng = Rng::stream(world.options.seed, kStreamReceipts, static_cast<uint64_t>(task.origin));
  int64_t received = 0;
  int lots = 0;
  const int choice = static_cast<int>(rng.below(100));
  const int split = static_cast<int>(rng.below(10));
  if (task.finish != kNoDay) {
    received = choice < 92 ? task.qtyFinish : task.qtyFinish * rng.between(80, 99) / 100;
    lots = split < 6 ? 1 : split < 9 ? 2 : 3;
  } else {
    received = choice < 50 ? task.qtyFinish : choice < 80 ? task.qtyFinish * rng.between(30, 90) / 100 : 0;
    lots = split < 7 ? 1 : 2;
  }
  if (received <= 0) return;
  lots = static_cast<int>(std::min<int64_t>(lots, received));
  int64_t quantities[3];
  splitQuantity(received, lots, rng, quantities);
  const Day last = task.finish != kNoDay ? std::min<Day>(task.finish + static_cast<Day>(rng.between(0, 2)), kToday) : kToday;
  const Day earliest = task.start;
  std::array<Day, 3> dates;
  dates.fill(std::numeric_limits<Day>::max());  // unused slots sort last
  for (int i = 0; i < lots; ++i)
    dates[static_cast<std::size_t>(i)] = earliest + static_cast<Day>(rng.below(static_cast<uint64_t>(last - earliest + 1)));
  if (task.finish != kNoDay) dates[static_cast<std::size_t>(lots - 1)] = last;  // the last lot comes with the finish
  std::sort(dates.begin(), dates.end());
  for (int i = 0; i < lots; ++i) {
    world.receipts.push_back({dates[static_cast<std::size_t>(i)], index, quantities[i]});
    task.stockQty += quantities[i];
  }
  task.receiptCount = lots;
}

}  // namespace

void planTasks(World& world) {
  makeBatches(world);
  const int64_t count = world.sizes.tasks;
  world.tasks.reserve(static_cast<std::size_t>(count));
  for (int64_t t = 0; t < count; ++t) world.tasks.push_back(makeTask(world, static_cast<int32_t>(t)));
  // FInterID and the bill numbers follow the bill dates.
  std::sort(world.tasks.begin(), world.tasks.end(), [](const Task& a, const Task& b) {
    return a.date != b.date ? a.date < b.date : a.origin < b.origin;
  });
  world.receipts.reserve(static_cast<std::size_t>(count) * 3 / 2);
  for (int64_t t = 0; t < count; ++t) makeReceipts(world, static_cast<int32_t>(t));
}

}  // namespace gen
