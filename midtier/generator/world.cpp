// Sizes of the demo company and the shared helpers of the generator's phases.
#include "midtier/generator/world.h"

#include <algorithm>
#include <cmath>

namespace gen {

Sizes sizesFor(int64_t tasks) {
  Sizes sizes{};
  sizes.tasks = tasks;
  const int64_t producible = std::clamp<int64_t>(tasks / 50, 20, 20000);
  sizes.products = producible * 3 / 4;
  sizes.semiProducts = producible - sizes.products;
  sizes.virtualItems = std::max<int64_t>(2, producible / 100);
  sizes.materials = std::clamp<int64_t>(tasks / 40, 30, 25000);
  sizes.batches = std::max(std::min(tasks, producible), tasks / 10);
  sizes.departments = static_cast<int>(std::clamp<int64_t>(8 + tasks / 40000, 8, 30));
  sizes.employees = static_cast<int>(std::clamp<int64_t>(20 + tasks / 5000, 20, 200));
  sizes.customers = static_cast<int>(std::clamp<int64_t>(30 + tasks / 500, 30, 2000));
  sizes.suppliers = static_cast<int>(std::clamp<int64_t>(20 + tasks / 1000, 20, 1000));
  sizes.stocks = static_cast<int>(std::clamp<int64_t>(6 + tasks / 200000, 6, 12));
  return sizes;
}

World::World(BulkLoader& loader_, const Options& options_)
    : loader(loader_), options(options_), sizes(sizesFor(options_.tasks)) {}

double roundTo(double value, int decimals) {
  static constexpr double kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  const double scale = kScale[std::clamp(decimals, 0, 6)];
  return std::round(value * scale) / scale;
}

}  // namespace gen
