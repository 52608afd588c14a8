// Writes the production tasks (ICMO) and their planned material (PPBOM).
#include <optional>
#include <string_view>

#include <fmt/format.h>

#include "midtier/generator/inserter.h"
#include "midtier/generator/issue_plan.h"
#include "midtier/generator/names.h"
#include "midtier/generator/world.h"

namespace gen {

namespace {

std::optional<std::string_view> dateOrNull(const World& world, Day day) {
  if (day == kNoDay) return std::nullopt;
  return world.dates[day];
}

}  // namespace

void writeTasks(World& world) {
  Inserter tasks(world, "ICMO",
                 "FInterID,FBillNo,FTranType,FDate,FItemID,FAuxPropID,FBatchNo,FUnitID,FAuxQty,FQty,"
                 "FPlanCommitDate,FPlanFinishDate,FStartDate,FFinishDate,FQtyFinish,FStockQty,FDeptID,FEmpID,"
                 "FOrderInterID,FOrderEntryID,FCheckerID,FCheckDate,FStatus,FClosed,FNote");
  Inserter material(world, "PPBOM",
                    "FInterID,FEntryID,FICMOInterID,FItemID,FUnitID,FQtyPer,FStandardQty,FQtyMust");
  std::string billNo;
  for (std::size_t t = 0; t < world.tasks.size(); ++t) {
    const Task& task = world.tasks[t];
    const auto id = static_cast<int64_t>(t + 1);
    const ItemInfo& item = world.items[static_cast<std::size_t>(task.item)];
    billNo.clear();
    fmt::format_to(std::back_inserter(billNo), "WORK{:06}", id);
    tasks.row(id, billNo, 85, world.dates[task.date], item.id, task.auxProp,
              world.batches[static_cast<std::size_t>(task.batch)].number, task.unitId,
              static_cast<double>(task.auxQty), static_cast<double>(task.qty), world.dates[task.planStart],
              world.dates[task.planFinish], dateOrNull(world, task.start), dateOrNull(world, task.finish),
              static_cast<double>(task.qtyFinish), static_cast<double>(task.stockQty), task.dept, task.emp,
              task.order, task.orderEntry, task.checker, dateOrNull(world, task.checkDate),
              static_cast<int>(task.status), static_cast<int>(task.closed),
              task.note >= 0 ? taskMemo(task.note) : std::string_view());
    const TaskMaterial planned = taskMaterial(world, task);
    for (int e = 0; e < planned.count; ++e) {
      const PlannedLine& line = planned.lines[static_cast<std::size_t>(e)];
      material.row(id, e + 1, id, line.materialId, line.bom->unitId, line.bom->per, line.standard, line.must);
    }
    world.progress("tasks", id, static_cast<int64_t>(world.tasks.size()));
  }
}

}  // namespace gen
