#include "gui/shell/ProgramBody.h"

#include <cxxabi.h>
#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <typeinfo>

#include "core/shell/InstanceLink.h"
#include "core/shell/Paths.h"
#include "core/shell/StartUp.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/TerminationSignals.h"

namespace zelvora {

namespace {

std::string ProgramFolder(const char* argv0) {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path executable = error ? std::filesystem::absolute(argv0) : self;
  return executable.parent_path().string();
}

std::string LoginName() {
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name != nullptr) {
    return entry->pw_name;
  }
  const char* name = std::getenv("USER");
  return name != nullptr ? name : "";
}

std::string EnvironmentFolder(const char* variable, const char* homeRelative) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/')
    return value;
  const char* home = std::getenv("HOME");
  return home != nullptr && homeRelative != nullptr ? std::string(home) + homeRelative : "";
}

std::string Demangle(const char* name) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
  return status == 0 && demangled ? demangled.get() : name;
}

}  // namespace

int RunProgram(int argc, char* argv[]) {
  CommandLine commandLine = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  const TPaths paths = ResolvePaths(
      {ProgramFolder(argv[0]), LoginName(), EnvironmentFolder("XDG_DATA_HOME", "/.local/share")},
      commandLine);

  const InstancePolicy policy = ReadInstancePolicy(paths.settingsFile);
  const std::string runtimeFolder =
      PrivateRuntimeFolder(EnvironmentFolder("XDG_RUNTIME_DIR", nullptr),
                           std::filesystem::temp_directory_path().string(), ::getuid());
  std::optional<TInstanceLock> lock;
  if (policy.singleInstance) {
    if (runtimeFolder.empty())
      return EXIT_FAILURE;
    lock.emplace(InstanceLockPath(runtimeFolder, ::getuid()));
    if (lock->GetState() == TInstanceLock::State::kFailed)
      return EXIT_FAILURE;
    if (lock->GetState() == TInstanceLock::State::kRunning) {
      // A second start: no window, no settings written; its switches go to the running one.
      QCoreApplication application(argc, argv);
      if (!HandOverToRunningInstance(InstanceSocketPath(runtimeFolder, ::getuid()),
                                     policy.bringToFront, commandLine)) {
        std::fputs("Zelvora: the running Zelvora did not answer; nothing was handed over to it\n",
                   stderr);
        return EXIT_FAILURE;
      }
      return EXIT_SUCCESS;
    }
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kProgramName.data(), kProgramName.size()));
  // Watched from the start: a signal that comes while the window is still being made waits in
  // the socket and closes the window once the event loop runs.
  TerminationSignals terminationSignals;

  const WindowPlacement placement =
      ChooseMainWindowPlacement(paths.settingsFile, PrimaryScreenGeometry(), commandLine);
  TSDIMainWindow mainWindow(paths, commandLine, placement);
  QObject::connect(&terminationSignals, &TerminationSignals::Received, &mainWindow,
                   [&mainWindow](int) { mainWindow.CloseWithoutQuestions(); });
  std::unique_ptr<InstanceServer> server;
  if (lock) {
    server = std::make_unique<InstanceServer>(
        InstanceSocketPath(runtimeFolder, ::getuid()),
        [&mainWindow](std::uint32_t code, const std::string& value) {
          mainWindow.ReceiveMessage(code, value);
        });
  }
  mainWindow.ShowFirstTime();
  mainWindow.FinishStartUp();
  return QApplication::exec();
}

int ReportFatalException(const std::exception& exception, int argc, char* argv[]) {
  // The program's own application object is gone with the stack that threw; a second start's
  // core application cannot show a box, and then the message goes to the log only.
  std::unique_ptr<QApplication> ownApplication;
  if (QCoreApplication::instance() == nullptr) {
    ownApplication = std::make_unique<QApplication>(argc, argv);
  }
  qWarning("Zelvora: %s", exception.what());
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    QMessageBox::information(nullptr, QString::fromStdString(Demangle(typeid(exception).name())),
                             QString::fromUtf8(exception.what()));
  }
  return EXIT_FAILURE;
}

}  // namespace zelvora
