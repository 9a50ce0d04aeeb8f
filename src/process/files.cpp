#include "process/files.h"

#include <unistd.h>

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

bool ReplaceFile(const fs::path& target, std::string_view bytes, fs::perms permissions) {
  static unsigned counter = 0;
  const fs::path temporary = target.parent_path() / ("." + target.filename().string() + "." +
                                                     std::to_string(getpid()) + "." + std::to_string(++counter));
  std::error_code ec;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      fs::remove(temporary, ec);
      return false;
    }
  }
  fs::permissions(temporary, permissions, ec);
  if (!ec) fs::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

}  // namespace proc
