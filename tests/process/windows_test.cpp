#include "process/windows.h"

#include <gtest/gtest.h>
#include <signal.h>

#include "process/program.h"
#include "support/eventually.h"
#include "temp_machine.h"

namespace proc::test {
namespace {

using namespace std::chrono_literals;

class WindowTableTest : public TempMachineTest {
 protected:
  // The window once it shows up, or 0 when it does not.
  static WindowHandle AwaitWindow(const std::string& title) {
    WindowHandle window = 0;
    orvex::test::Eventually([&] { return (window = FindWindow(title)) != 0; });
    return window;
  }
  static size_t EntriesInTable() {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(WindowTableFolder())) {
      count += entry.path().extension() == ".window";
    }
    return count;
  }
};

TEST_F(WindowTableTest, AWindowIsFoundByItsTitleUntilItCloses) {
  WindowHandle handle = 0;
  {
    TopLevelWindow window("XIF32BIN");
    handle = window.Handle();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(FindWindow("XIF32BIN"), handle);
    EXPECT_EQ(FindWindow("xif32bin"), handle);
    EXPECT_EQ(FindWindow("Finished - XIF32BIN"), 0);
    window.SetTitle("Finished - XIF32BIN");
    EXPECT_EQ(window.Title(), "Finished - XIF32BIN");
    EXPECT_EQ(FindWindow("XIF32BIN"), 0);
    EXPECT_EQ(FindWindow("Finished - XIF32BIN"), handle);
  }
  EXPECT_EQ(FindWindow("Finished - XIF32BIN"), 0);
  EXPECT_FALSE(PostMessage(handle, WM_CLOSE, 1, 1));
  EXPECT_FALSE(PostMessage(0, WM_CLOSE, 1, 1));
}

TEST_F(WindowTableTest, MessagesArriveInTheOrderPosted) {
  TopLevelWindow window("Queue");
  EXPECT_EQ(window.TakeMessage(), std::nullopt);
  const WindowMessage posted[] = {{0x0111, 1, 2}, {WM_CLOSE, 1, 1}, {0x0401, -5, 1LL << 40}};
  for (const WindowMessage& message : posted) {
    EXPECT_TRUE(PostMessage(window.Handle(), message.message, message.wParam, message.lParam));
  }
  for (const WindowMessage& expected : posted) {
    const std::optional<WindowMessage> taken = window.TakeMessage();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->message, expected.message);
    EXPECT_EQ(taken->wParam, expected.wParam);
    EXPECT_EQ(taken->lParam, expected.lParam);
  }
  EXPECT_EQ(window.TakeMessage(), std::nullopt);
}

TEST_F(WindowTableTest, WaitingForCloseDropsOtherMessagesAndEndsAtItsLimit) {
  TopLevelWindow window("Waiting");
  EXPECT_FALSE(window.WaitForMessage(WM_CLOSE, 30ms));
  PostMessage(window.Handle(), 0x0111, 0, 0);
  PostMessage(window.Handle(), WM_CLOSE, 1, 1);
  EXPECT_TRUE(window.WaitForMessage(WM_CLOSE, 60s));
  EXPECT_EQ(window.TakeMessage(), std::nullopt);
}

TEST_F(WindowTableTest, AnotherProcessesWindowIsFoundAndClosed) {
  Program owner = Program::Start({WINDOW_OWNER, "XIF32BIN", "60000", "Finished - XIF32BIN"});
  const WindowHandle window = AwaitWindow("Finished - XIF32BIN");
  ASSERT_NE(window, 0);
  EXPECT_EQ(FindWindow("XIF32BIN"), 0);
  EXPECT_TRUE(PostMessage(window, WM_CLOSE, 1, 1));
  EXPECT_EQ(owner.Wait(60s), 0);
  EXPECT_EQ(FindWindow("Finished - XIF32BIN"), 0);
  EXPECT_EQ(EntriesInTable(), 0u);
}

TEST_F(WindowTableTest, AWindowLeavesWhenItsOwnerTimesOut) {
  Program owner = Program::Start({WINDOW_OWNER, "--after-start", "Short-lived", "50"});
  const WindowHandle window = AwaitWindow("Short-lived");
  ASSERT_NE(window, 0);
  EXPECT_TRUE(PostMessage(window, 0x0400, 0, 0));
  EXPECT_EQ(owner.Wait(60s), 3);
  EXPECT_EQ(FindWindow("Short-lived"), 0);
}

TEST_F(WindowTableTest, TheWindowOfAKilledOwnerIsDropped) {
  Program owner = Program::Start({WINDOW_OWNER, "Doomed", "60000"});
  const WindowHandle window = AwaitWindow("Doomed");
  ASSERT_NE(window, 0);
  kill(owner.Id(), SIGKILL);
  EXPECT_EQ(owner.Wait(60s), 128 + SIGKILL);
  EXPECT_EQ(EntriesInTable(), 1u);
  EXPECT_FALSE(PostMessage(window, WM_CLOSE, 1, 1));
  EXPECT_EQ(FindWindow("Doomed"), 0);
  EXPECT_EQ(EntriesInTable(), 0u);
}

TEST_F(WindowTableTest, SeveralWindowsKeepTheirOwnTitlesAndQueues) {
  TopLevelWindow first("One");
  TopLevelWindow second("Two");
  EXPECT_NE(first.Handle(), second.Handle());
  EXPECT_EQ(FindWindow("One"), first.Handle());
  EXPECT_EQ(FindWindow("Two"), second.Handle());
  PostMessage(second.Handle(), WM_CLOSE, 1, 1);
  EXPECT_EQ(first.TakeMessage(), std::nullopt);
  EXPECT_TRUE(second.TakeMessage().has_value());
}

}  // namespace
}  // namespace proc::test
