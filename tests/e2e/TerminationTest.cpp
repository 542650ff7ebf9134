#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>

#include "Process.h"

namespace zelvora::e2e {
namespace {

using namespace std::chrono_literals;

// A logout, a shutdown or Ctrl+C must run the normal closing sequence and end with exit code 0,
// never die of the signal (which would skip saving the user's settings and tabs).
class TerminationTest : public ::testing::TestWithParam<int> {};

TEST_P(TerminationTest, SignalEndsTheProgramNormally) {
  InstalledCopy copy;
  Process zelvora(copy.Executable(), {});
  // Still running after start-up: it did not crash or exit by itself.
  ASSERT_FALSE(zelvora.WaitForExit(1500ms).has_value());

  zelvora.Signal(GetParam());
  const auto status = zelvora.WaitForExit(5s);
  ASSERT_TRUE(status.has_value()) << "still running 5 s after the signal";
  ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
  EXPECT_EQ(WEXITSTATUS(*status), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) -> std::string {
                           switch (info.param) {
                             case SIGTERM:
                               return "Term";
                             case SIGINT:
                               return "Int";
                             default:
                               return "Hup";
                           }
                         });

}  // namespace
}  // namespace zelvora::e2e
