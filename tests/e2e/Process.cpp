#include "Process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace zelvora::e2e {

InstalledCopy::InstalledCopy() {
  std::random_device random;
  folder_ = std::filesystem::temp_directory_path() / ("zelvora-e2e-" + std::to_string(random()));
  std::filesystem::create_directories(folder_);
  std::filesystem::copy_file(ZELVORA_EXECUTABLE, Executable());
  std::filesystem::copy_file(ZELVORA_DEFAULT_THEME, folder_ / "Zelvora.txt");
  std::filesystem::create_directories(folder_ / "runtime");
  std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
}

InstalledCopy::~InstalledCopy() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

Process::Process(const std::filesystem::path& executable,
                 const std::vector<std::string>& arguments) {
  // Each installed copy has its own runtime folder, so the single-instance lock and socket of
  // one test never meet another's.
  std::vector<std::string> environment = {
      "QT_QPA_PLATFORM=offscreen",
      "XDG_RUNTIME_DIR=" + (executable.parent_path() / "runtime").string()};
  if (::geteuid() == 0) {
    environment.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
    environment.push_back("QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu");
  }
  for (char** entry = environ; *entry != nullptr; ++entry)
    environment.emplace_back(*entry);

  std::vector<std::string> argumentStrings = {executable.string()};
  argumentStrings.insert(argumentStrings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& argument : argumentStrings)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& entry : environment)
    envp.push_back(entry.data());
  envp.push_back(nullptr);

  if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
    throw std::runtime_error("cannot start " + executable.string());
  }
}

Process::~Process() {
  if (!ended_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

void Process::Signal(int signalNumber) const {
  ::kill(pid_, signalNumber);
}

std::optional<int> Process::WaitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      ended_ = true;
      return status;
    }
    if (std::chrono::steady_clock::now() >= deadline)
      return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace zelvora::e2e
