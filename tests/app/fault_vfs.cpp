// The failing VFS: every file method forwards to the default VFS's file, counting as it goes.
#include "fault_vfs.h"

#include <signal.h>

#include <atomic>
#include <cstring>
#include <stdexcept>

namespace apptest {
namespace {

struct Plan {
  std::array<std::atomic<long>, 4> calls{};
  std::atomic<int> op{-1};
  std::atomic<long> nth{0};
  std::atomic<bool> fired{false};
  std::atomic<int> signal{0};  // raised instead of failing, when set
};

Plan plan;
sqlite3_vfs* real = nullptr;
sqlite3_vfs faulty{};

constexpr int kFailure[] = {SQLITE_IOERR_READ, SQLITE_IOERR_WRITE, SQLITE_IOERR_FSYNC, SQLITE_IOERR_LOCK};

// True when this call of `op` is the one to fail.
bool failNow(FaultOp op) {
  const int index = static_cast<int>(op);
  const long count = ++plan.calls[index];
  if (plan.op.load() != index || count != plan.nth.load()) return false;
  plan.fired = true;
  if (plan.signal.load() != 0) {
    ::raise(plan.signal.load());
    return false;
  }
  return true;
}

struct File {
  sqlite3_file base;
  sqlite3_file* inner;  // the real file, allocated right behind this one
};

sqlite3_file* inner(sqlite3_file* f) { return reinterpret_cast<File*>(f)->inner; }

int xClose(sqlite3_file* f) { return inner(f)->pMethods->xClose(inner(f)); }
int xRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
  if (failNow(FaultOp::Read)) return SQLITE_IOERR_READ;
  return inner(f)->pMethods->xRead(inner(f), buffer, amount, offset);
}
int xWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
  if (failNow(FaultOp::Write)) return SQLITE_IOERR_WRITE;
  return inner(f)->pMethods->xWrite(inner(f), buffer, amount, offset);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) { return inner(f)->pMethods->xTruncate(inner(f), size); }
int xSync(sqlite3_file* f, int flags) {
  if (failNow(FaultOp::Sync)) return SQLITE_IOERR_FSYNC;
  return inner(f)->pMethods->xSync(inner(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return inner(f)->pMethods->xFileSize(inner(f), size); }
int xLock(sqlite3_file* f, int level) {
  if (failNow(FaultOp::Lock)) return SQLITE_IOERR_LOCK;
  return inner(f)->pMethods->xLock(inner(f), level);
}
int xUnlock(sqlite3_file* f, int level) { return inner(f)->pMethods->xUnlock(inner(f), level); }
int xCheckReservedLock(sqlite3_file* f, int* out) { return inner(f)->pMethods->xCheckReservedLock(inner(f), out); }
int xFileControl(sqlite3_file* f, int op, void* arg) { return inner(f)->pMethods->xFileControl(inner(f), op, arg); }
int xSectorSize(sqlite3_file* f) { return inner(f)->pMethods->xSectorSize(inner(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return inner(f)->pMethods->xDeviceCharacteristics(inner(f)); }

// Version 1: no shared memory (the databases use a rollback journal) and no memory mapping.
const sqlite3_io_methods kMethods = {1,         xClose,       xRead,        xWrite,
                                     xTruncate, xSync,        xFileSize,    xLock,
                                     xUnlock,   xCheckReservedLock, xFileControl, xSectorSize,
                                     xDeviceCharacteristics, nullptr, nullptr,    nullptr,
                                     nullptr,   nullptr,      nullptr};

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
  auto* file = reinterpret_cast<File*>(f);
  file->inner = reinterpret_cast<sqlite3_file*>(file + 1);
  file->base.pMethods = nullptr;
  const int rc = real->xOpen(real, name, file->inner, flags, outFlags);
  if (file->inner->pMethods) file->base.pMethods = &kMethods;  // closed through us even on failure
  return rc;
}
int xDelete(sqlite3_vfs*, const char* name, int sync) { return real->xDelete(real, name, sync); }
int xAccess(sqlite3_vfs*, const char* name, int flags, int* out) { return real->xAccess(real, name, flags, out); }
int xFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return real->xFullPathname(real, name, size, out);
}
void* xDlOpen(sqlite3_vfs*, const char* name) { return real->xDlOpen(real, name); }
void xDlError(sqlite3_vfs*, int size, char* out) { real->xDlError(real, size, out); }
void (*xDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) { return real->xDlSym(real, handle, symbol); }
void xDlClose(sqlite3_vfs*, void* handle) { real->xDlClose(real, handle); }
int xRandomness(sqlite3_vfs*, int size, char* out) { return real->xRandomness(real, size, out); }
int xSleep(sqlite3_vfs*, int micros) { return real->xSleep(real, micros); }
int xCurrentTime(sqlite3_vfs*, double* out) { return real->xCurrentTime(real, out); }
int xGetLastError(sqlite3_vfs*, int size, char* out) { return real->xGetLastError(real, size, out); }
int xCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) { return real->xCurrentTimeInt64(real, out); }

}  // namespace

std::string nameOf(FaultOp op) {
  constexpr const char* kNames[] = {"read", "write", "sync", "lock"};
  return kNames[static_cast<int>(op)];
}

FaultVfs::FaultVfs() {
  real = sqlite3_vfs_find(nullptr);
  if (!real || real->iVersion < 2) throw std::runtime_error("no default SQLite VFS to wrap");
  faulty = sqlite3_vfs{};
  faulty.iVersion = 2;
  faulty.szOsFile = static_cast<int>(sizeof(File)) + real->szOsFile;
  faulty.mxPathname = real->mxPathname;
  faulty.zName = "tav-fault";
  faulty.xOpen = xOpen;
  faulty.xDelete = xDelete;
  faulty.xAccess = xAccess;
  faulty.xFullPathname = xFullPathname;
  faulty.xDlOpen = xDlOpen;
  faulty.xDlError = xDlError;
  faulty.xDlSym = xDlSym;
  faulty.xDlClose = xDlClose;
  faulty.xRandomness = xRandomness;
  faulty.xSleep = xSleep;
  faulty.xCurrentTime = xCurrentTime;
  faulty.xGetLastError = xGetLastError;
  faulty.xCurrentTimeInt64 = xCurrentTimeInt64;
  sqlite3_vfs_register(&faulty, 1);
  arm(FaultOp::Read, 0);
}

FaultVfs::~FaultVfs() {
  sqlite3_vfs_unregister(&faulty);
  sqlite3_vfs_register(real, 1);
}

void FaultVfs::arm(FaultOp op, long nth) {
  for (auto& count : plan.calls) count = 0;
  plan.fired = false;
  plan.op = nth > 0 ? static_cast<int>(op) : -1;
  plan.nth = nth;
  plan.signal = 0;
}

void FaultVfs::armSignal(FaultOp op, long nth, int signal) {
  arm(op, nth);
  plan.signal = signal;
}

long FaultVfs::calls(FaultOp op) const { return plan.calls[static_cast<int>(op)].load(); }

bool FaultVfs::fired() const { return plan.fired.load(); }

}  // namespace apptest
