// The data-right tables and rules every production task report hands the builder: the
// product, department and employee of the task, and its auxiliary property.
#pragma once

#include "platform/lumo/vector.h"

namespace production {

lumo::VectorRef ProductionRightTables();
lumo::VectorRef ProductionRightRules();

}  // namespace production
