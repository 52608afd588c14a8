// The planned material of a task (its PPBOM) and what was issued against it.
#pragma once

#include <array>
#include <cstdint>

#include "midtier/generator/world.h"

namespace gen {

inline constexpr int kMaxBomLines = 6;

struct PlannedLine {
  const BomLine* bom = nullptr;
  int64_t materialId = 0;
  int qtyDecimal = 0;
  double standard = 0;  // base unit
  double must = 0;      // planned issue, base unit
  double issued[2] = {0, 0};  // issued at the first and the second issue, base unit
};

// Material is issued once or twice: at the start, and for a quarter of the tasks again
// later. A line may be issued in full, short, over, partly (running tasks) or not at all.
struct TaskMaterial {
  std::array<PlannedLine, kMaxBomLines> lines;
  int count = 0;
  Day issueDays[2] = {kNoDay, kNoDay};
};

// Both derive from the task's own random stream, so they give the same answer however
// often and in whatever order they are asked.
TaskMaterial taskMaterial(const World& world, const Task& task);

}  // namespace gen
