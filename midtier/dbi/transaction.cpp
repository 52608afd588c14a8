// The scoped transaction of a session.
#include "midtier/dbi/session.h"

namespace dbi {

Transaction::~Transaction() {
  if (!open_) return;
  try {
    session_.rollback();
  } catch (...) {  // NOLINT(bugprone-empty-catch): a rollback that fails leaves nothing to undo
  }
}

void Transaction::commit() {
  open_ = false;
  session_.commit();
}

}  // namespace dbi
