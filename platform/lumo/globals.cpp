#include "platform/lumo/globals.h"

namespace lumo {

Globals& globals() {
  static Globals instance;
  return instance;
}

}  // namespace lumo
