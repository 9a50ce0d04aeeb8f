#include "registry/store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <system_error>

#include "registry/failure.h"
#include "registry/format.h"
#include "registry/machine.h"
#include "registry/quick_reader.h"
#include "runtime/descriptor.h"
#include "runtime/file_writer.h"

namespace reg {
namespace fs = std::filesystem;

namespace {

std::string SystemText(int error) { return std::generic_category().message(error); }

[[noreturn]] void Unreadable(const fs::path& file, int error) {
  Refuse(ERROR_REGISTRY_IO_FAILED, "The registry file \"" + file.string() + "\" cannot be read: " + SystemText(error));
}

[[noreturn]] void Unwritable(const fs::path& file, int error) {
  Refuse(ERROR_REGISTRY_IO_FAILED,
         "The registry file \"" + file.string() + "\" cannot be written, nothing was changed: " + SystemText(error));
}

bool TakeLock(int fd) {
  int result = 0;
  do {
    result = flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// Held while a change reads, alters and writes the file; the file itself is replaced whole, so
// the lock lives on a file of its own.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(const fs::path& lockFile) : fd_(open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_.Get() < 0 || !TakeLock(fd_.Get())) {
      Refuse(ERROR_REGISTRY_IO_FAILED,
             "The registry lock \"" + lockFile.string() + "\" cannot be taken: " + SystemText(errno));
    }
  }

 private:
  rt::Descriptor fd_;
};

// The file's next bytes, none at its end.
size_t ReadSome(int fd, char* into, size_t room, const fs::path& file) {
  for (;;) {
    const ssize_t count = read(fd, into, room);
    if (count >= 0) return static_cast<size_t>(count);
    if (errno != EINTR) Unreadable(file, errno);
  }
}

// Read straight into a text of the size the file had when opened; one that grows meanwhile still
// comes whole.
std::string ReadWhole(int fd, size_t size, const fs::path& file) {
  std::string text(size + 1, '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == text.size()) text.resize(text.size() * 2);
    const size_t count = ReadSome(fd, text.data() + filled, text.size() - filled, file);
    if (count == 0) break;
    filled += count;
  }
  text.resize(filled);
  return text;
}

// The quick reader takes the file a piece at a time; one it does not take is read again whole, for
// the JSON library to tell what is wrong.
Hives Parse(int fd, size_t size, const fs::path& file) {
  const ReadMore readMore = [&](char* into, size_t room) { return ReadSome(fd, into, room, file); };
  try {
    if (std::optional<Hives> hives = QuickRead(readMore, size)) return std::move(*hives);
    if (lseek(fd, 0, SEEK_SET) != 0) Unreadable(file, errno);
    return HivesFromDocument(ReadWhole(fd, size, file));
  } catch (const Malformed& bad) {
    Refuse(ERROR_REGISTRY_CORRUPT,
           "The registry file \"" + file.string() + "\" is damaged and was left as it is: " + bad.what());
  }
}

// The registry as last read and the file it came from. The file is kept open, so that no new
// file can get its inode while it is compared against: every write of the registry (a new file
// renamed over the old one) is seen, whenever it came.
struct Snapshot {
  std::unique_ptr<rt::Descriptor> file;  // none: there was no file
  struct stat seen {};
  Hives hives;
};

std::optional<Snapshot> g_snapshot;

bool SameFile(const struct stat& a, const struct stat& b) {
  auto same = [](const timespec& x, const timespec& y) { return x.tv_sec == y.tv_sec && x.tv_nsec == y.tv_nsec; };
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size && same(a.st_mtim, b.st_mtim) &&
         same(a.st_ctim, b.st_ctim);
}

// Opens the file a snapshot is of; the system's error when it cannot (ENOENT: there is none).
int Hold(Snapshot& snapshot, const fs::path& file) {
  auto fd = std::make_unique<rt::Descriptor>(open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd->Get() < 0 || fstat(fd->Get(), &snapshot.seen) != 0) return errno;
  snapshot.file = std::move(fd);
  return 0;
}

Snapshot Load(const fs::path& file) {
  Snapshot snapshot;
  if (const int error = Hold(snapshot, file); error == 0) {
    snapshot.hives = Parse(snapshot.file->Get(), static_cast<size_t>(std::max<off_t>(snapshot.seen.st_size, 0)), file);
  } else if (error != ENOENT) {
    Unreadable(file, error);
  }
  return snapshot;
}

// A missing file stays the empty registry it was.
bool StillCurrent(const Snapshot& snapshot, const fs::path& file) {
  struct stat now {};
  if (stat(file.c_str(), &now) != 0) {
    if (errno != ENOENT) Unreadable(file, errno);
    return snapshot.file == nullptr;
  }
  return snapshot.file != nullptr && SameFile(snapshot.seen, now);
}

// Parses the file again only when it is not the one read last.
Snapshot& Current(const fs::path& file) {
  if (!g_snapshot || !StillCurrent(*g_snapshot, file)) {
    g_snapshot.reset();
    g_snapshot = Load(file);
  }
  return *g_snapshot;
}

}  // namespace

fs::path RegistryFile() { return MachineFolder() / "registry.json"; }

namespace store {

const Hives& Read() { return Current(RegistryFile()).hives; }

void Change(const std::function<bool(Hives&)>& change) {
  MadeMachineFolder();
  const fs::path file = RegistryFile();
  ExclusiveLock lock(file.parent_path() / "registry.lock");
  // Read afresh, so that no edit made in place is ever written over; and kept apart while it
  // changes, so that a change or a write that fails leaves nothing behind.
  g_snapshot.reset();
  Snapshot working = Load(file);
  if (change(working.hives)) {
    if (const std::error_code error = rt::ReplaceFile(file, HivesToJson(working.hives))) Unwritable(file, error.value());
    // Under the lock no other writer comes between: the file is the one just written.
    if (Hold(working, file) != 0) return;
  }
  g_snapshot = std::move(working);
}

void Forget() { g_snapshot.reset(); }

}  // namespace store
}  // namespace reg
