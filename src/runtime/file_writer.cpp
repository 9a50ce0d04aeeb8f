#include "runtime/file_writer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <optional>
#include <string>

#include "runtime/descriptor.h"

namespace rt {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryEnding = ".tmp";
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

// ".<file name>.<pid>-<n>.tmp": beside the file, hidden, and recognisable as a temporary of
// that file made by that process.
fs::path TemporaryBeside(const fs::path& file) {
  static std::atomic<unsigned> counter = 0;
  return file.parent_path() / ('.' + file.filename().string() + "." + std::to_string(::getpid()) + "-" +
                               std::to_string(++counter) + std::string(kTemporaryEnding));
}

// The process that made `name` when it is a temporary of `file`.
std::optional<pid_t> TemporaryOwner(std::string_view name, const fs::path& file) {
  const std::string prefix = '.' + file.filename().string() + '.';
  if (!name.starts_with(prefix) || !name.ends_with(kTemporaryEnding)) return std::nullopt;
  name.remove_prefix(prefix.size());
  name.remove_suffix(kTemporaryEnding.size());
  pid_t pid = 0;
  unsigned serial = 0;
  const char* end = name.data() + name.size();
  auto [afterPid, pidError] = std::from_chars(name.data(), end, pid);
  if (pidError != std::errc() || pid <= 0 || afterPid == end || *afterPid != '-') return std::nullopt;
  auto [afterSerial, serialError] = std::from_chars(afterPid + 1, end, serial);
  if (serialError != std::errc() || afterSerial != end) return std::nullopt;
  return pid;
}

bool IsRunning(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

fs::path FolderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// Temporaries of processes that are gone; those of running ones may still be renamed into place.
void RemoveLeftTemporaries(const fs::path& file) {
  std::error_code error;
  for (fs::directory_iterator entry(FolderOf(file), error), end; !error && entry != end; entry.increment(error)) {
    const auto owner = TemporaryOwner(entry->path().filename().string(), file);
    if (owner && !IsRunning(*owner)) ::unlink(entry->path().c_str());
  }
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

// One replacement; whatever it leaves behind on a failure is removed when it goes.
class Replacement {
 public:
  explicit Replacement(fs::path file) : file_(std::move(file)), temporary_(TemporaryBeside(file_)) {}
  ~Replacement() {
    if (!renamed_) ::unlink(temporary_.c_str());
    if (kept_) ::unlink(kept_->c_str());
  }
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  int Run(std::string_view bytes, fs::perms permissions) {
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
  int WriteTemporary(std::string_view bytes, fs::perms permissions) {
    int opened = -1;
    if (int error = rt::Run(WriteStep::Open, [&] {
          opened = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
          return opened >= 0;
        })) {
      return error;
    }
    Descriptor fd(opened);
    if (int error = rt::Run(WriteStep::Write, [&] {
          return ::fchmod(fd.Get(), static_cast<mode_t>(permissions)) == 0 && WriteAll(fd.Get(), bytes);
        })) {
      return error;
    }
    return rt::Run(WriteStep::Sync, [&] { return ::fsync(fd.Get()) == 0 && fd.Close(); });
  }

  // A second name for the old file, so that it survives the rename until the folder is synced.
  int KeepOld() {
    fs::path kept = TemporaryBeside(file_);
    const int error = rt::Run(WriteStep::Keep, [&] { return ::link(file_.c_str(), kept.c_str()) == 0; });
    if (error == 0) kept_ = std::move(kept);
    return error == ENOENT ? 0 : error;
  }

  void PutOldBack() {
    if (!kept_) {
      ::unlink(file_.c_str());
    } else if (::rename(kept_->c_str(), file_.c_str()) == 0) {
      kept_.reset();
    }
  }

  fs::path file_;
  fs::path temporary_;
  std::optional<fs::path> kept_;
  bool renamed_ = false;
};

}  // namespace

std::error_code ReplaceFile(const fs::path& file, std::string_view bytes, fs::perms permissions) {
  std::error_code error;
  const fs::path target = ThroughLinks(file, error);
  if (error) return error;
  if (const int failed = Replacement(target).Run(bytes, permissions)) return SystemError(failed);
  RemoveLeftTemporaries(target);
  return {};
}

void SetWriteStepHook(std::function<int(WriteStep)> hook) { Hook() = std::move(hook); }

}  // namespace rt
