// Standard usage, planned issue and the issues of one task.
#include "midtier/generator/issue_plan.h"

#include <algorithm>

#include "midtier/generator/random.h"

namespace gen {

namespace {

// The share of the planned issue actually issued, in per mille.
int64_t issuedShare(const Task& task, Rng& rng) {
  const int choice = static_cast<int>(rng.below(100));
  if (task.finish != kNoDay) {
    if (choice < 78) return 1000;                  // as planned
    if (choice < 86) return rng.between(700, 990);  // short
    if (choice < 94) return rng.between(1010, 1200);  // over
    return 0;                                      // none
  }
  if (choice < 50) return 1000;
  if (choice < 75) return rng.between(200, 900);  // partly
  return 0;                                       // not yet
}

}  // namespace

TaskMaterial taskMaterial(const World& world, const Task& task) {
  Rng rng = Rng::stream(world.options.seed, kStreamIssues, static_cast<uint64_t>(task.origin));
  const ItemInfo& product = world.items[static_cast<std::size_t>(task.item)];
  TaskMaterial result;
  result.count = std::min<int>(kMaxBomLines, static_cast<int>(product.bom.size()));
  const bool issues = task.start != kNoDay;
  bool anyIssued = false;
  bool split = false;
  if (issues) {
    const Day end = task.finish != kNoDay ? task.finish : kToday;
    result.issueDays[0] = std::min<Day>(task.start + static_cast<Day>(rng.between(0, 1)), kToday);
    split = rng.percent(25) && result.issueDays[0] < end;
    if (split) result.issueDays[1] = static_cast<Day>(rng.between(result.issueDays[0] + 1, std::min<Day>(end, result.issueDays[0] + 15)));
  }
  bool anySecond = false;
  for (int i = 0; i < result.count; ++i) {
    const BomLine& bom = product.bom[static_cast<std::size_t>(i)];
    const ItemInfo& material = world.items[static_cast<std::size_t>(bom.material)];
    PlannedLine& line = result.lines[static_cast<std::size_t>(i)];
    line.bom = &bom;
    line.materialId = material.id;
    line.qtyDecimal = material.qtyDecimal;
    line.standard = roundTo(static_cast<double>(task.qty) * bom.per, material.qtyDecimal);
    const int64_t scrap = rng.percent(50) ? 0 : rng.between(5, 50);  // per mille
    line.must = roundTo(line.standard * static_cast<double>(1000 + scrap) / 1000, material.qtyDecimal);
    if (!issues) continue;
    const double total = roundTo(line.must * static_cast<double>(issuedShare(task, rng)) / 1000, material.qtyDecimal);
    if (total <= 0) continue;
    anyIssued = true;
    line.issued[0] = total;
    if (split) {
      const double first = roundTo(total * 0.6, material.qtyDecimal);
      if (first > 0 && first < total) {
        line.issued[0] = first;
        line.issued[1] = roundTo(total - first, material.qtyDecimal);
        anySecond = true;
      }
    }
  }
  if (!anyIssued) result.issueDays[0] = kNoDay;
  if (!anySecond) result.issueDays[1] = kNoDay;
  return result;
}

}  // namespace gen
