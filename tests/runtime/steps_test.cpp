#include "runtime/steps.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

std::vector<std::string> g_log;

void LogFailure(int line, const rt::Error& error) {
  g_log.push_back("Error-" + error.Description() + " Line " + std::to_string(line));
}

class StepsTest : public ::testing::Test {
 protected:
  void SetUp() override { g_log.clear(); }
};

TEST_F(StepsTest, ResumeNextReportsEachFailureInOrderAndGoesOn) {
  auto steps = rt::Steps::LogAndResumeNext(LogFailure);
  std::vector<int> ran;
  steps(10, [&] { ran.push_back(10); });
  steps(20, [&] { rt::Raise(rt::err::TypeMismatch); });
  steps(30, [&] { ran.push_back(30); });
  steps(40, [&] { rt::Raise(rt::err::ObjectNotSet); });
  steps(50, [&] { ran.push_back(50); });
  EXPECT_THAT(ran, ElementsAre(10, 30, 50));
  EXPECT_THAT(g_log, ElementsAre("Error-Type mismatch Line 20",
                                 "Error-Object variable or With block variable not set Line 40"));
  ASSERT_TRUE(steps.LastError().has_value());
  EXPECT_EQ(steps.LastError()->Number(), rt::err::ObjectNotSet);
  EXPECT_FALSE(steps.Exited());
}

TEST_F(StepsTest, AFailingStepLeavesItsTargetAsItWas) {
  auto steps = rt::Steps::LogAndResumeNext(LogFailure);
  int field = 7;
  auto overflowing = []() -> int { rt::Raise(rt::err::Overflow); };
  steps(1, [&] { field = overflowing(); });
  EXPECT_EQ(field, 7);
  EXPECT_EQ(steps.Get<int>(2, [] { return 5; }, 0), 5);
  EXPECT_EQ(steps.Get<int>(3, [] () -> int { rt::Raise(rt::err::TypeMismatch); }, -1), -1);
  EXPECT_THAT(g_log, ElementsAre("Error-Overflow Line 1", "Error-Type mismatch Line 3"));
}

TEST_F(StepsTest, AFailingTestTakesItsBranch) {
  auto steps = rt::Steps::LogAndResumeNext(LogFailure);
  EXPECT_TRUE(steps.If(5, []() -> bool { rt::Raise(rt::err::ObjectNotSet); }));
  EXPECT_TRUE(steps.If(6, [] { return true; }));
  EXPECT_FALSE(steps.If(7, [] { return false; }));
  EXPECT_THAT(g_log, ElementsAre("Error-Object variable or With block variable not set Line 5"));
}

TEST_F(StepsTest, AbortRetryIgnoreAnswers) {
  struct Case {
    const char* name;
    std::vector<rt::Resume> answers;
    std::vector<int> expectedRan;
    int expectedAttempts;
    bool expectedExited;
  } const cases[] = {
      {"ignore", {rt::Resume::Next}, {1, 3}, 1, false},
      {"retry then succeed", {rt::Resume::Retry, rt::Resume::Retry}, {1, 2, 3}, 3, false},
      {"retry then ignore", {rt::Resume::Retry, rt::Resume::Next}, {1, 3}, 2, false},
      {"abort", {rt::Resume::Exit}, {1}, 1, true},
  };
  for (const auto& c : cases) {
    size_t answered = 0;
    int attempts = 0;
    std::vector<int> ran;
    rt::Steps steps([&](int line, const rt::Error&) {
      EXPECT_EQ(line, 2) << c.name;
      return c.answers[answered++];
    });
    steps(1, [&] { ran.push_back(1); });
    steps(2, [&] {
      // Fails until the answers run out, so "retry then succeed" succeeds on its third attempt.
      if (++attempts <= static_cast<int>(c.answers.size())) rt::Raise(rt::err::DeviceIoError);
      ran.push_back(2);
    });
    steps(3, [&] { ran.push_back(3); });
    EXPECT_EQ(ran, c.expectedRan) << c.name;
    EXPECT_EQ(attempts, c.expectedAttempts) << c.name;
    EXPECT_EQ(steps.Exited(), c.expectedExited) << c.name;
  }
}

TEST_F(StepsTest, ExitSkipsEveryLaterStepAndTest) {
  rt::Steps steps([](int, const rt::Error&) { return rt::Resume::Exit; });
  bool later = false;
  steps(1, [] { rt::Raise(rt::err::FileNotFound); });
  steps(2, [&] { later = true; });
  EXPECT_FALSE(steps.If(3, [&] { return later = true; }));
  EXPECT_EQ(steps.Get<int>(4, [&] { later = true; return 1; }, 0), 0);
  EXPECT_FALSE(later);
  EXPECT_TRUE(steps.Exited());
}

TEST_F(StepsTest, ForeignExceptionsReachTheHandlerAsErrors) {
  auto steps = rt::Steps::LogAndResumeNext(LogFailure);
  steps(8, [] { throw std::runtime_error("disk gone"); });
  EXPECT_THAT(g_log, ElementsAre("Error-disk gone Line 8"));
  EXPECT_EQ(steps.LastError()->Number(), rt::err::InternalError);
  steps.ClearError();
  EXPECT_FALSE(steps.LastError().has_value());
}

}  // namespace
