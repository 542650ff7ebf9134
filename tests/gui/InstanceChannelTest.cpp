#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <future>
#include <memory>

#include "core/shell/CommandLine.h"
#include "core/shell/InstanceLink.h"
#include "gui/shell/InstanceChannel.h"

namespace zelvora {

class InstanceChannelTest : public QObject {
  Q_OBJECT

 private slots:
  // The running instance listens only once its window is made; a second start that comes
  // earlier waits for it rather than losing its address.
  void ASecondStartWaitsForAnInstanceThatIsStillStarting() {
    QTemporaryDir folder;
    const std::string socket = folder.filePath("socket").toStdString();
    std::vector<std::pair<std::uint32_t, std::string>> received;
    std::unique_ptr<InstanceServer> server;
    QTimer::singleShot(4000, this, [&] {
      server = std::make_unique<InstanceServer>(socket,
                                                [&](std::uint32_t code, const std::string& value) {
                                                  received.emplace_back(code, value);
                                                });
    });
    CommandLine commandLine = ParseCommandLine("/url=http://127.0.0.1/late ");
    auto handedOver = std::async(
        std::launch::async, [&] { return HandOverToRunningInstance(socket, false, commandLine); });
    QTRY_VERIFY_WITH_TIMEOUT(
        handedOver.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 15000);
    QVERIFY(handedOver.get());
    QCOMPARE(received.size(), std::size_t{2});
    QCOMPARE(received[1].second, std::string("http://127.0.0.1/late"));
  }

  void ASilentLockHolderEndsTheSecondStart() {
    QTemporaryDir folder;
    CommandLine commandLine = ParseCommandLine("/url=http://127.0.0.1/ ");
    QVERIFY(
        !HandOverToRunningInstance(folder.filePath("none").toStdString(), false, commandLine, 300));
    QVERIFY(!commandLine.switches[kSwitchUrl].empty());
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::InstanceChannelTest)
#include "InstanceChannelTest.moc"
