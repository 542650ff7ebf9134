#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "Process.h"
#include "core/tools/TabList.h"

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

void Write(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

// A page that shows a JavaScript dialog runs a nested event loop under which the signal
// arrives: the dialog is closed, the program still ends normally, and the tab list written at
// exit holds every tab, the one under the dialog included.
class DialogTerminationTest : public ::testing::TestWithParam<std::string> {};

TEST_P(DialogTerminationTest, SignalUnderADialogEndsNormallyAndKeepsEveryTab) {
  InstalledCopy copy;
  const std::filesystem::path pages = copy.Folder() / "pages";
  Write(pages / "before.html", "<title>Before</title><p>before</p>");
  Write(pages / "dialog.html", "<title>Dialog</title><p>d</p><script>" + GetParam() + "</script>");
  Write(pages / "after.html", "<title>After</title><p>after</p>");
  const std::filesystem::path user = copy.Folder() / "users" / ::getpwuid(::getuid())->pw_name;
  Write(user / "Zelvora.ini",
        "[ConfigDialog]\r\nLastWebRestore=1\r\nTabOpenMax=5\r\nWebPermitSecurity=1111\r\n");
  std::vector<std::string> urls;
  for (const char* name : {"before.html", "dialog.html", "after.html"})
    urls.push_back("file://" + (pages / name).string());

  Process zelvora(copy.Executable(), {"/url=" + urls[0] + " " + urls[1] + " " + urls[2]});
  ASSERT_FALSE(zelvora.WaitForExit(4s).has_value()) << "ended by itself";
  zelvora.Signal(SIGTERM);
  const auto status = zelvora.WaitForExit(10s);
  ASSERT_TRUE(status.has_value()) << "still running 10 s after the signal";
  ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
  EXPECT_EQ(WEXITSTATUS(*status), 0);
  EXPECT_EQ(ReadTabList((user / "LastWebList.dat").string()), urls);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogTerminationTest,
                         ::testing::Values("alert('hello')", "confirm('sure?')"),
                         [](const auto& info) -> std::string {
                           return info.param.starts_with("alert") ? "Alert" : "Confirm";
                         });

}  // namespace
}  // namespace zelvora::e2e
