// Sales orders for the tasks made to order: one to three tasks per order, one entry each.
#include <algorithm>

#include <fmt/format.h>

#include "midtier/generator/inserter.h"
#include "midtier/generator/random.h"
#include "midtier/generator/world.h"

namespace gen {

void writeSalesOrders(World& world) {
  Rng rng = Rng::stream(world.options.seed, kStreamOrders);
  Inserter orders(world, "SEOrder", "FInterID,FBillNo,FDate,FCustID,FDeptID,FEmpID,FCheckerID,FClosed");
  Inserter entries(world, "SEOrderEntry", "FInterID,FEntryID,FItemID,FUnitID,FAuxQty,FQty,FPrice,FAmount,FDate");
  std::vector<int32_t> members;
  int64_t orderId = 0;
  std::size_t next = 0;
  while (next < world.tasks.size()) {
    // The next one to three tasks made to order, in date order, form one order.
    const auto draw = rng.below(10);
    const int size = draw < 4 ? 1 : draw < 8 ? 2 : 3;
    members.clear();
    for (; next < world.tasks.size() && static_cast<int>(members.size()) < size; ++next)
      if (world.tasks[next].forOrder) members.push_back(static_cast<int32_t>(next));
    if (members.empty()) break;

    ++orderId;
    const Employee& salesman = world.employees[static_cast<std::size_t>(world.salesmen[rng.below(world.salesmen.size())])];
    const int64_t customer = world.customers[rng.below(world.customers.size())];
    const int64_t checker = rng.percent(95) ? world.checkers[rng.below(world.checkers.size())] : 0;
    Day date = world.tasks[static_cast<std::size_t>(members.front())].date - static_cast<Day>(rng.between(0, 10));
    bool closed = true;
    for (std::size_t e = 0; e < members.size(); ++e) {
      Task& task = world.tasks[static_cast<std::size_t>(members[e])];
      task.order = orderId;
      task.orderEntry = static_cast<int64_t>(e + 1);
      task.emp = salesman.id;
      closed = closed && task.closed != 0;
      date = std::min(date, task.date);
    }
    orders.row(orderId, fmt::format("SO-{:06}", orderId), world.dates[date], customer, salesman.dept, salesman.id,
               checker, closed ? 1 : 0);
    for (std::size_t e = 0; e < members.size(); ++e) {
      const Task& task = world.tasks[static_cast<std::size_t>(members[e])];
      const ItemInfo& item = world.items[static_cast<std::size_t>(task.item)];
      const int64_t priceCents = item.priceCents * static_cast<int64_t>(world.coefficient(task.unitId));
      const Day delivery = task.planFinish + static_cast<Day>(rng.between(0, 7));
      entries.row(orderId, static_cast<int64_t>(e + 1), item.id, task.unitId, static_cast<double>(task.auxQty),
                  static_cast<double>(task.qty), static_cast<double>(priceCents) / 100,
                  static_cast<double>(priceCents * task.auxQty) / 100, world.dates[delivery]);
    }
  }
}

}  // namespace gen
