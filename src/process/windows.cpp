#include "process/windows.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#include "process/paths.h"
#include "registry/machine.h"
#include "runtime/error.h"
#include "runtime/file_writer.h"
#include "runtime/text.h"

namespace proc {
namespace fs = std::filesystem;

namespace {

constexpr const char* kWindowSuffix = ".window";
constexpr const char* kMessageSuffix = ".message";

struct Owner {
  pid_t pid = 0;
  unsigned long long startTime = 0;
};

struct Entry {
  Owner owner;
  std::string title;
};

// The start time of a live process (kernel ticks since boot), so that a reused process id does
// not pass for the window's owner; nothing for a process that is gone or a zombie.
std::optional<unsigned long long> StartTimeOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return std::nullopt;
  const size_t commandEnd = line.rfind(')');
  if (commandEnd == std::string::npos) return std::nullopt;
  // The fields after the command, from field 3 (the state) on; field 22 is the start time.
  std::istringstream rest(line.substr(commandEnd + 1));
  const std::vector<std::string> fields{std::istream_iterator<std::string>(rest), {}};
  constexpr size_t kState = 0, kStartTime = 19;
  if (fields.size() <= kStartTime || fields[kState] == "Z" || fields[kState] == "X") return std::nullopt;
  unsigned long long startTime = 0;
  const std::string& text = fields[kStartTime];
  if (std::from_chars(text.data(), text.data() + text.size(), startTime).ec != std::errc()) return std::nullopt;
  return startTime;
}

Owner ThisProcess() {
  static const Owner self{getpid(), StartTimeOf(getpid()).value_or(0)};
  return self;
}

bool IsAlive(const Owner& owner) { return StartTimeOf(owner.pid) == owner.startTime; }

std::string HandleText(WindowHandle handle) {
  std::string digits = std::to_string(handle);
  return std::string(16 - std::min<size_t>(16, digits.size()), '0') + digits;
}

fs::path EntryPath(const fs::path& folder, WindowHandle handle) {
  return folder / (HandleText(handle) + kWindowSuffix);
}

std::string MessagePattern(WindowHandle handle) { return HandleText(handle) + ".*" + kMessageSuffix; }

std::optional<WindowHandle> HandleOfEntry(const std::string& fileName) {
  WindowHandle handle = 0;
  const auto [end, error] = std::from_chars(fileName.data(), fileName.data() + fileName.size(), handle);
  if (error != std::errc() || std::string_view(end) != kWindowSuffix || handle <= 0) return std::nullopt;
  return handle;
}

std::optional<Entry> ReadEntry(const fs::path& path) {
  std::ifstream in(path);
  Entry entry;
  std::string rest;
  if (!(in >> entry.owner.pid >> entry.owner.startTime) || !std::getline(in, rest)) return std::nullopt;
  if (!std::getline(in, entry.title)) return std::nullopt;
  return entry;
}

void WriteAtomically(const fs::path& target, const std::string& content) {
  if (rt::ReplaceFile(target, content)) {
    rt::Raise(rt::err::PathFileAccessError, {}, "Path/File access error: " + target.string());
  }
}

void RemoveWindow(const fs::path& folder, WindowHandle handle) noexcept {
  std::error_code ec;
  try {
    for (const DirEntry& message : ListDirectory(folder.string(), MessagePattern(handle))) {
      fs::remove(folder / message.name, ec);
    }
  } catch (const rt::Error&) {
    // The folder cannot be listed: its messages stay, and a window of this handle clears them.
  }
  fs::remove(EntryPath(folder, handle), ec);
}

// The window's entry while its owner lives; the entry of a dead owner is dropped.
std::optional<Entry> LiveEntry(const fs::path& folder, WindowHandle handle) {
  std::optional<Entry> entry = ReadEntry(EntryPath(folder, handle));
  if (entry && IsAlive(entry->owner)) return entry;
  if (entry) RemoveWindow(folder, handle);
  return std::nullopt;
}

// Sorts messages by the time they were posted; the monotonic clock is the same for every process.
std::string MessageStamp() {
  static unsigned counter = 0;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  std::string nanoseconds = std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
  nanoseconds.insert(0, 20 - std::min<size_t>(20, nanoseconds.size()), '0');
  return nanoseconds + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

std::optional<WindowMessage> ParseMessage(const fs::path& path) {
  std::ifstream in(path);
  WindowMessage message;
  if (!(in >> message.message >> message.wParam >> message.lParam)) return std::nullopt;
  return message;
}

WindowHandle NewHandle() {
  static int64_t serial = 0;
  return (static_cast<int64_t>(getpid()) << 20) | (++serial & 0xFFFFF);
}

}  // namespace

fs::path WindowTableFolder() { return reg::MachineFolder() / "windows"; }

WindowHandle FindWindow(std::string_view title) {
  const fs::path folder = WindowTableFolder();
  for (const DirEntry& file : ListDirectory(folder.string(), std::string("*") + kWindowSuffix)) {
    const std::optional<WindowHandle> handle = HandleOfEntry(file.name);
    if (!handle) continue;
    const std::optional<Entry> entry = LiveEntry(folder, *handle);
    if (entry && rt::EqualsNoCase(entry->title, title)) return *handle;
  }
  return 0;
}

bool PostMessage(WindowHandle window, uint32_t message, int64_t wParam, int64_t lParam) {
  const fs::path folder = WindowTableFolder();
  if (window <= 0 || !LiveEntry(folder, window)) return false;
  WriteAtomically(folder / (HandleText(window) + "." + MessageStamp() + kMessageSuffix),
                  std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam) + "\n");
  return true;
}

TopLevelWindow::TopLevelWindow(std::string title)
    : folder_(WindowTableFolder()), handle_(NewHandle()), title_(std::move(title)) {
  std::error_code ec;
  fs::create_directories(folder_, ec);
  RemoveWindow(folder_, handle_);
  Publish(title_);
}

TopLevelWindow::~TopLevelWindow() { RemoveWindow(folder_, handle_); }

void TopLevelWindow::SetTitle(std::string title) {
  Publish(title);
  title_ = std::move(title);
}

void TopLevelWindow::Publish(const std::string& title) {
  const Owner self = ThisProcess();
  WriteAtomically(EntryPath(folder_, handle_),
                  std::to_string(self.pid) + " " + std::to_string(self.startTime) + "\n" + title + "\n");
}

std::optional<WindowMessage> TopLevelWindow::TakeMessage() {
  for (const DirEntry& file : ListDirectory(folder_.string(), MessagePattern(handle_))) {
    const std::optional<WindowMessage> message = ParseMessage(folder_ / file.name);
    std::error_code ec;
    fs::remove(folder_ / file.name, ec);
    if (message) return message;
  }
  return std::nullopt;
}

bool TopLevelWindow::WaitForMessage(uint32_t message, std::chrono::milliseconds limit) {
  // The clock counts nanoseconds: a limit beyond a year would overflow the deadline.
  const auto deadline = std::chrono::steady_clock::now() + std::min(limit, MaxWait);
  for (;;) {
    while (const std::optional<WindowMessage> taken = TakeMessage()) {
      if (taken->message == message) return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace proc
