#include "automation/input_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "support/eventually.h"

namespace automation {
namespace {

using ::testing::ElementsAreArray;

// The lines the reader hands on from `input`, and how many were refused as too long.
std::vector<std::string> LinesOf(const std::string& input, int* overlong = nullptr) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  std::thread writer([&] {
    for (size_t at = 0; at < input.size();) {
      const ssize_t n = write(fds[1], input.data() + at, input.size() - at);
      if (n <= 0) break;
      at += static_cast<size_t>(n);
    }
    close(fds[1]);
  });
  std::mutex mutex;
  std::vector<std::string> lines;
  std::atomic<int> refused = 0;
  std::atomic<bool> ended = false;
  {
    InputReader reader(fds[0], {[&](std::string line) {
                                  std::lock_guard lock(mutex);
                                  lines.push_back(std::move(line));
                                },
                                [&] { ++refused; }, [&] { ended = true; }});
    EXPECT_TRUE(orvex::test::Eventually([&] { return ended.load(); }));
  }
  writer.join();
  close(fds[0]);
  if (overlong) *overlong = refused;
  return lines;
}

TEST(InputReader, HandsOnRequestLinesOnlyAndTheirCountDoesNotSlowIt) {
  const struct {
    std::string input;
    std::vector<std::string> lines;
  } cases[] = {
      {"verbs\r\n\n  \n# a note\n\v\f\nget object=1\nlast", {"verbs", "get object=1", "last"}},
      {std::string(4 << 20, '\n') + "verbs\n", {"verbs"}},
      {std::string(1 << 19, 'x') + "\n" + std::string(1 << 19, 'y'), {std::string(1 << 19, 'x'), std::string(1 << 19, 'y')}},
  };
  for (const auto& c : cases) EXPECT_THAT(LinesOf(c.input), ElementsAreArray(c.lines));
  int overlong = 0;
  EXPECT_THAT(LinesOf(std::string(InputReader::MaxLineBytes + 1, 'x') + "\nverbs\n", &overlong),
              ElementsAreArray({"verbs"}));
  EXPECT_EQ(overlong, 1);
}

}  // namespace
}  // namespace automation
