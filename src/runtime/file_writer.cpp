#include "runtime/file_writer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "runtime/descriptor.h"

namespace rt {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryEnding = ".tmp";
constexpr std::string_view kKeptEnding = ".kept";
constexpr int kMostLinks = 40;  // the kernel's own limit on links followed in one lookup

std::function<int(WriteStep)>& Hook() {
  static std::function<int(WriteStep)> hook;
  return hook;
}

// Runs `call` (true when it succeeded) unless the seam fails the step; the errno, or 0.
template <class Call>
int Run(WriteStep step, Call call) {
  if (Hook()) {
    if (int injected = Hook()(step)) return injected;
  }
  return call() ? 0 : errno;
}

// ".<file name><ending>": beside the file, hidden, and one name per file, so that what a killed
// writer left is found by its name alone, never by listing the folder.
fs::path Beside(const fs::path& file, std::string_view ending) {
  return file.parent_path() / ('.' + file.filename().string() + std::string(ending));
}

fs::path FolderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

bool Lock(int fd) {
  int result = 0;
  do {
    result = ::flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// Whether `path` still names the open file `fd`: another writer may have removed it meanwhile.
bool StillNamed(int fd, const fs::path& path) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// A writer holds its temporary locked until it is renamed into place or removed, so one found
// unlocked was left by a killed writer; a held one is waited for. The errno, or 0.
int RemoveLeftover(const fs::path& temporary) {
  Descriptor found(::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (found.Get() < 0) return errno == ENOENT ? 0 : errno;
  if (!Lock(found.Get())) return errno;
  if (!StillNamed(found.Get(), temporary) || ::unlink(temporary.c_str()) == 0 || errno == ENOENT) return 0;
  return errno;
}

// Makes the file's temporary and locks it; -1 with errno set when it cannot. Between the making
// and the lock another writer may take it for a leftover and remove it: then it is made again.
int ClaimTemporary(const fs::path& temporary) {
  for (;;) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno != EEXIST) return -1;
      if (const int error = RemoveLeftover(temporary)) return errno = error, -1;
      continue;
    }
    if (!Lock(fd)) {
      const int error = errno;
      ::close(fd);
      return errno = error, -1;
    }
    if (StillNamed(fd, temporary)) return fd;
    ::close(fd);
  }
}

// The mode asked for, else the replaced file's; none for a new file, which keeps the umask's.
std::optional<mode_t> ModeFor(const fs::path& file, std::optional<fs::perms> permissions) {
  if (permissions) return static_cast<mode_t>(*permissions);
  struct stat old {};
  if (::stat(file.c_str(), &old) == 0) return old.st_mode & 07777;
  return std::nullopt;
}

std::error_code SystemError(int error) { return {error, std::generic_category()}; }

// The file that `file` leads to through symbolic links; `file` itself when it is none.
fs::path ThroughLinks(fs::path file, std::error_code& error) {
  for (int hop = 0; hop < kMostLinks; ++hop) {
    const fs::file_type type = fs::symlink_status(file, error).type();
    if (type == fs::file_type::not_found) error.clear();
    if (type != fs::file_type::symlink) return error ? fs::path() : file;
    const fs::path link = fs::read_symlink(file, error);
    if (error) return {};
    file = file.parent_path() / link;
  }
  error = SystemError(ELOOP);
  return {};
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno != EINTR) return false;
    if (count > 0) bytes.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

bool SyncFolder(const fs::path& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.Get() >= 0 && ::fsync(fd.Get()) == 0 && fd.Close();
}

// One replacement; whatever it leaves behind on a failure is removed before its lock goes.
class Replacement {
 public:
  explicit Replacement(fs::path file)
      : file_(std::move(file)), temporary_(Beside(file_, kTemporaryEnding)), kept_(Beside(file_, kKeptEnding)) {}
  ~Replacement() {
    if (fd_ < 0) return;
    if (!renamed_) ::unlink(temporary_.c_str());
    if (keptOld_) ::unlink(kept_.c_str());
    ::close(fd_);
  }
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  int Run(std::string_view bytes, std::optional<fs::perms> permissions) {
    if (int error = WriteTemporary(bytes, permissions)) return error;
    if (int error = KeepOld()) return error;
    if (int error = rt::Run(WriteStep::Rename, [&] { return ::rename(temporary_.c_str(), file_.c_str()) == 0; })) {
      return error;
    }
    renamed_ = true;
    if (int error = rt::Run(WriteStep::SyncFolder, [&] { return SyncFolder(FolderOf(file_)); })) {
      PutOldBack();
      return error;
    }
    return 0;
  }

 private:
  int WriteTemporary(std::string_view bytes, std::optional<fs::perms> permissions) {
    if (int error = rt::Run(WriteStep::Open, [&] { return (fd_ = ClaimTemporary(temporary_)) >= 0; })) return error;
    const std::optional<mode_t> mode = ModeFor(file_, permissions);
    if (int error = rt::Run(WriteStep::Write, [&] {
          return (!mode || ::fchmod(fd_, *mode) == 0) && WriteAll(fd_, bytes);
        })) {
      return error;
    }
    return rt::Run(WriteStep::Sync, [&] { return ::fsync(fd_) == 0; });
  }

  // A second name for the old file, so that it survives the rename until the folder is synced.
  int KeepOld() {
    const int error = rt::Run(WriteStep::Keep, [&] {
      ::unlink(kept_.c_str());  // a killed writer's
      return ::link(file_.c_str(), kept_.c_str()) == 0;
    });
    keptOld_ = error == 0;
    return error == ENOENT ? 0 : error;
  }

  void PutOldBack() {
    if (!keptOld_) {
      ::unlink(file_.c_str());
    } else if (::rename(kept_.c_str(), file_.c_str()) == 0) {
      keptOld_ = false;
    }
  }

  fs::path file_;
  fs::path temporary_;
  fs::path kept_;
  int fd_ = -1;  // the temporary, locked while this writer works
  bool keptOld_ = false;
  bool renamed_ = false;
};

}  // namespace

std::error_code ReplaceFile(const fs::path& file, std::string_view bytes, std::optional<fs::perms> permissions) {
  std::error_code error;
  const fs::path target = ThroughLinks(file, error);
  if (error) return error;
  if (const int failed = Replacement(target).Run(bytes, permissions)) return SystemError(failed);
  return {};
}

void SetWriteStepHook(std::function<int(WriteStep)> hook) { Hook() = std::move(hook); }

}  // namespace rt
