#include "support/store_faults.h"

#include <sqlite3.h>

#include <csignal>
#include <cstring>
#include <stdexcept>

namespace orvex::test {
namespace {

// Connections opened through the stand-in keep using it after it is gone, so its functions and
// the file system behind it stay.
struct State {
  bool active = false;
  sqlite3_vfs* real = nullptr;
  sqlite3_vfs vfs{};
  int64_t writes = 0;
  int64_t failFrom = 0;
  int64_t killAt = 0;
};
State g_state;

struct File {
  sqlite3_file base;
  sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<File*>(file)->real; }

// The fault for the next write, sync or truncation: 0 lets it through.
int Next(int failure) {
  ++g_state.writes;
  if (g_state.killAt && g_state.writes >= g_state.killAt) std::raise(SIGKILL);
  if (g_state.failFrom && g_state.writes >= g_state.failFrom) return failure;
  return SQLITE_OK;
}

int Close(sqlite3_file* file) { return Real(file)->pMethods->xClose(Real(file)); }
int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
  return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}
int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
  if (int fault = Next(SQLITE_IOERR_WRITE)) return fault;
  return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  if (int fault = Next(SQLITE_IOERR_TRUNCATE)) return fault;
  return Real(file)->pMethods->xTruncate(Real(file), size);
}
int Sync(sqlite3_file* file, int flags) {
  if (int fault = Next(SQLITE_IOERR_FSYNC)) return fault;
  return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) { return Real(file)->pMethods->xFileSize(Real(file), size); }
int Lock(sqlite3_file* file, int lock) { return Real(file)->pMethods->xLock(Real(file), lock); }
int Unlock(sqlite3_file* file, int lock) { return Real(file)->pMethods->xUnlock(Real(file), lock); }
int CheckReservedLock(sqlite3_file* file, int* out) { return Real(file)->pMethods->xCheckReservedLock(Real(file), out); }
int FileControl(sqlite3_file* file, int op, void* arg) { return Real(file)->pMethods->xFileControl(Real(file), op, arg); }
int SectorSize(sqlite3_file* file) { return Real(file)->pMethods->xSectorSize(Real(file)); }
int DeviceCharacteristics(sqlite3_file* file) { return Real(file)->pMethods->xDeviceCharacteristics(Real(file)); }
int ShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
  return Real(file)->pMethods->xShmMap(Real(file), region, size, extend, out);
}
int ShmLock(sqlite3_file* file, int offset, int n, int flags) { return Real(file)->pMethods->xShmLock(Real(file), offset, n, flags); }
void ShmBarrier(sqlite3_file* file) { Real(file)->pMethods->xShmBarrier(Real(file)); }
int ShmUnmap(sqlite3_file* file, int deleteFlag) { return Real(file)->pMethods->xShmUnmap(Real(file), deleteFlag); }

const sqlite3_io_methods Methods = {2,        Close,       Read,       Write,       Truncate,        Sync,
                                    FileSize, Lock,        Unlock,     CheckReservedLock, FileControl, SectorSize,
                                    DeviceCharacteristics, ShmMap, ShmLock, ShmBarrier, ShmUnmap, nullptr, nullptr};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  auto* shim = reinterpret_cast<File*>(file);
  shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
  shim->base.pMethods = nullptr;
  int code = g_state.real->xOpen(g_state.real, name, shim->real, flags, outFlags);
  if (shim->real->pMethods) shim->base.pMethods = &Methods;
  return code;
}
int Delete(sqlite3_vfs*, const char* name, int syncDir) { return g_state.real->xDelete(g_state.real, name, syncDir); }
int Access(sqlite3_vfs*, const char* name, int flags, int* out) { return g_state.real->xAccess(g_state.real, name, flags, out); }
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return g_state.real->xFullPathname(g_state.real, name, size, out);
}
int Randomness(sqlite3_vfs*, int size, char* out) { return g_state.real->xRandomness(g_state.real, size, out); }
int Sleep(sqlite3_vfs*, int microseconds) { return g_state.real->xSleep(g_state.real, microseconds); }
int CurrentTime(sqlite3_vfs*, double* now) { return g_state.real->xCurrentTime(g_state.real, now); }
int LastError(sqlite3_vfs*, int size, char* out) { return g_state.real->xGetLastError(g_state.real, size, out); }
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now) { return g_state.real->xCurrentTimeInt64(g_state.real, now); }

}  // namespace

StoreFaults::StoreFaults() {
  if (g_state.active) throw std::logic_error("one StoreFaults at a time");
  if (!g_state.real) g_state.real = sqlite3_vfs_find(nullptr);
  g_state.active = true;
  g_state.writes = g_state.failFrom = g_state.killAt = 0;
  sqlite3_vfs& vfs = g_state.vfs;
  vfs.iVersion = 2;
  vfs.szOsFile = static_cast<int>(sizeof(File)) + g_state.real->szOsFile;
  vfs.mxPathname = g_state.real->mxPathname;
  vfs.zName = "orvex-store-faults";
  vfs.xOpen = Open;
  vfs.xDelete = Delete;
  vfs.xAccess = Access;
  vfs.xFullPathname = FullPathname;
  vfs.xRandomness = Randomness;
  vfs.xSleep = Sleep;
  vfs.xCurrentTime = CurrentTime;
  vfs.xGetLastError = LastError;
  vfs.xCurrentTimeInt64 = CurrentTimeInt64;
  sqlite3_vfs_register(&vfs, 1);
}

StoreFaults::~StoreFaults() {
  sqlite3_vfs_register(g_state.real, 1);
  sqlite3_vfs_unregister(&g_state.vfs);
  g_state.active = false;
  g_state.failFrom = g_state.killAt = 0;
}

void StoreFaults::FailFrom(int64_t count) { g_state.failFrom = count ? g_state.writes + count : 0; }
void StoreFaults::KillAt(int64_t count) { g_state.killAt = count ? g_state.writes + count : 0; }
int64_t StoreFaults::Writes() const { return g_state.writes; }

}  // namespace orvex::test
