#include "process/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <sstream>

namespace proc {
namespace fs = std::filesystem;

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return bytes.str();
}

namespace {

// Closes the descriptor however the read ends.
class OpenFile {
 public:
  explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  // Opened and a regular file: a folder or a pipe reads nothing.
  bool IsRegularFile() const {
    struct stat status {};
    return fd_ >= 0 && ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode);
  }
  ssize_t Read(char* buffer, size_t size) const { return ::read(fd_, buffer, size); }

 private:
  int fd_;
};

}  // namespace

std::optional<std::string> ReadFirstLines(const std::string& path, size_t count) {
  const OpenFile file(path);
  if (!file.IsRegularFile()) return std::nullopt;
  std::string text;
  std::array<char, 512> chunk{};
  for (size_t lines = 0; lines < count;) {
    const ssize_t got = file.Read(chunk.data(), chunk.size());
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    const size_t start = text.size();
    text.append(chunk.data(), static_cast<size_t>(got));
    for (size_t end = text.find('\n', start); end != std::string::npos && lines < count;
         end = text.find('\n', end + 1)) {
      if (++lines == count) text.resize(end + 1);
    }
  }
  return text;
}

}  // namespace proc
