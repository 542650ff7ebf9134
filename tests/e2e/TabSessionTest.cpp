#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <mutex>
#include <thread>

#include "Process.h"
#include "core/browser/SessionAutoSave.h"
#include "core/tools/TabList.h"

namespace zelvora::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Serves "/<name>.html" pages on 127.0.0.1 and notes every page asked for, in order.
class PageServer {
 public:
  PageServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("no listening socket");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~PageServer() {
    stop_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
  }

  std::string Url(const std::string& name) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + name + ".html";
  }
  // The body of a page: a title, and a script when one is given.
  void SetScript(std::string script) {
    const std::lock_guard lock(mutex_);
    script_ = std::move(script);
  }
  std::vector<std::string> Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
  }
  void ClearRequests() {
    const std::lock_guard lock(mutex_);
    requests_.clear();
  }

 private:
  void Serve() {
    while (!stop_) {
      const int client = ::accept(listener_, nullptr, nullptr);
      if (client < 0)
        continue;
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
          break;
        request.append(buffer, static_cast<std::size_t>(got));
      }
      const std::size_t start = request.find(' ') + 1;
      const std::string path = request.substr(start, request.find(' ', start) - start);
      std::string body;
      if (path.ends_with(".html")) {
        const std::lock_guard lock(mutex_);
        requests_.push_back(path.substr(1, path.size() - 6));
        body = "<title>" + requests_.back() + "</title><p>" + requests_.back() + "</p>" + script_;
      }
      const std::string response =
          (body.empty() ? "HTTP/1.1 404 Not Found\r\n" : "HTTP/1.1 200 OK\r\n") +
          std::string(
              "Content-Type: text/html\r\nConnection: close\r\n"
              "Content-Length: ") +
          std::to_string(body.size()) + "\r\n\r\n" + body;
      ::send(client, response.data(), response.size(), MSG_NOSIGNAL);
      ::close(client);
    }
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_ = false;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::string script_;
  std::thread thread_;
};

void Write(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

// Waits up to `timeout` for `done`.
template <typename Done>
bool Eventually(Done done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

void Terminate(Process& zelvora) {
  zelvora.Signal(SIGTERM);
  const auto status = zelvora.WaitForExit(10s);
  ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

class TabSessionTest : public ::testing::Test {
 protected:
  fs::path UserFolder() const { return copy_.Folder() / "users" / ::getpwuid(::getuid())->pw_name; }
  std::string ListFile() const { return (UserFolder() / std::string(kLastWebListName)).string(); }
  fs::path Marker() const { return UserFolder() / std::string(kSessionMarkerName); }
  void Settings(const std::string& text) { Write(UserFolder() / "Zelvora.ini", text); }

  InstalledCopy copy_;
  PageServer server_;
};

TEST_F(TabSessionTest, TabsSurviveAKillAndAreRestoredEvenWithTheRestoreSettingOff) {
  const std::vector<std::string> urls = {server_.Url("one"), server_.Url("two"),
                                         server_.Url("three")};
  Settings("[ConfigDialog]\r\nLastWebRestore=1\r\n");
  {
    Process zelvora(copy_.Executable(), {"/url=" + urls[0] + " " + urls[1] + " " + urls[2]});
    // Written a few seconds after the tabs opened, without any exit.
    ASSERT_TRUE(Eventually([&] { return ReadTabList(ListFile()) == urls; }, 15s));
    EXPECT_TRUE(fs::exists(Marker()));
    zelvora.Signal(SIGKILL);
    ASSERT_TRUE(zelvora.WaitForExit(5s).has_value());
  }
  EXPECT_EQ(ReadTabList(ListFile()), urls);

  // The next start restores them although the setting is off now (and every tab loads).
  Settings("[ConfigDialog]\r\nLastWebRestore=0\r\n[Zelvora]\r\nTabLazyLoad=0\r\n");
  server_.ClearRequests();
  {
    Process zelvora(copy_.Executable(), {});
    EXPECT_TRUE(Eventually([&] { return server_.Requests().size() == 3; }, 15s));
    // Not saving as it goes, this run holds no marker: the crashed run's is gone.
    EXPECT_FALSE(fs::exists(Marker()));
    Terminate(zelvora);
  }
  std::vector<std::string> seen = server_.Requests();
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "three", "two"}));

  // A clean exit of a run that saved as it went removes its marker.
  Settings("[ConfigDialog]\r\nLastWebRestore=1\r\n");
  Process zelvora(copy_.Executable(), {});
  ASSERT_TRUE(Eventually([&] { return fs::exists(Marker()); }, 10s));
  Terminate(zelvora);
  EXPECT_FALSE(fs::exists(Marker()));
  EXPECT_EQ(ReadTabList(ListFile()), urls);
}

TEST_F(TabSessionTest, RestoredTabsLoadOnlyWhenSelected) {
  std::vector<TabListEntry> tabs;
  for (int i = 0; i < 20; ++i) {
    const std::string name = "page" + std::to_string(i);
    tabs.push_back({server_.Url(name), name});
  }
  Write(ListFile(), FormatTabList("2026/12/07 10:00:00", tabs));
  Settings("[ConfigDialog]\r\nLastWebRestore=1\r\nTabOpenMax=20\r\nWebPermitSecurity=1111\r\n");
  // The page left current closes itself a while after it loaded: the tab before it is selected.
  server_.SetScript("<script>setTimeout(() => window.close(), 4000)</script>");
  Process zelvora(copy_.Executable(), {});
  ASSERT_TRUE(Eventually([&] { return !server_.Requests().empty(); }, 15s));
  std::this_thread::sleep_for(2500ms);
  EXPECT_EQ(server_.Requests(), std::vector<std::string>{"page19"});
  ASSERT_TRUE(Eventually([&] { return server_.Requests().size() >= 2; }, 10s));
  EXPECT_EQ(server_.Requests()[1], "page18");
  Terminate(zelvora);
  // The tabs that never loaded are kept in the list with their addresses.
  EXPECT_EQ(ReadTabList(ListFile())->size(), 19u);
}

}  // namespace
}  // namespace zelvora::e2e
