// A SQLite VFS over the default one that fails the Nth read, write, sync or lock of any file,
// once, the way SQLite's own I/O-error tests do. While a FaultVfs lives it is the default VFS.
#pragma once

#include <sqlite3.h>

#include <array>
#include <string>

namespace apptest {

enum class FaultOp { Read, Write, Sync, Lock };
inline constexpr std::array<FaultOp, 4> kFaultOps = {FaultOp::Read, FaultOp::Write, FaultOp::Sync, FaultOp::Lock};
std::string nameOf(FaultOp op);

class FaultVfs {
 public:
  FaultVfs();   // registers itself as the default VFS
  ~FaultVfs();  // puts the previous default back
  FaultVfs(const FaultVfs&) = delete;
  FaultVfs& operator=(const FaultVfs&) = delete;

  // Counts every operation from now on and fails the `nth` (1-based) call of `op`; 0 fails none.
  void arm(FaultOp op, long nth);
  // As arm(), but the `nth` call of `op` raises `signal` in this process and then goes on.
  void armSignal(FaultOp op, long nth, int signal);
  // Calls of `op` since arm().
  long calls(FaultOp op) const;
  // Whether the planned failure happened.
  bool fired() const;
};

}  // namespace apptest
