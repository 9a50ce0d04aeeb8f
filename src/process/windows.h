#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The machine's top-level windows by title, shared by every process of the simulated machine:
// one small file per window in the "windows" folder of the machine folder. A window leaves the
// table when its owner closes it or ends; entries of owners that died are dropped when seen.
namespace proc {

using WindowHandle = int64_t;  // 0: no window
inline constexpr uint32_t WM_CLOSE = 0x0010;

struct WindowMessage {
  uint32_t message = 0;
  int64_t wParam = 0;
  int64_t lParam = 0;
};

// The folder that holds the table.
std::filesystem::path WindowTableFolder();

// A top-level window whose title matches (letter case ignored), or 0.
WindowHandle FindWindow(std::string_view title);
// Queues a message for the window; false when no such window exists.
bool PostMessage(WindowHandle window, uint32_t message, int64_t wParam, int64_t lParam);

// A window this process shows: in the table from construction until destruction.
class TopLevelWindow {
 public:
  // Raises error 75 when the table cannot be written.
  explicit TopLevelWindow(std::string title);
  TopLevelWindow(const TopLevelWindow&) = delete;
  TopLevelWindow& operator=(const TopLevelWindow&) = delete;
  ~TopLevelWindow();

  WindowHandle Handle() const noexcept { return handle_; }
  const std::string& Title() const noexcept { return title_; }
  // The new title replaces the old one at once: no finder ever sees neither. Raises error 75
  // when the table cannot be written, keeping the old title.
  void SetTitle(std::string title);
  // The oldest message posted to the window, taken from its queue.
  std::optional<WindowMessage> TakeMessage();
  // Waits for `message`, dropping others; false when `limit` (at most MaxWait) passed first.
  static constexpr std::chrono::milliseconds MaxWait = std::chrono::hours(24 * 365);
  bool WaitForMessage(uint32_t message, std::chrono::milliseconds limit);

 private:
  void Publish(const std::string& title);
  std::filesystem::path folder_;
  WindowHandle handle_;
  std::string title_;
};

}  // namespace proc
