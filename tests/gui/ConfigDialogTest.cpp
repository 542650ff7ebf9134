#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "WindowFixture.h"
#include "gui/browser/WebSession.h"
#include "gui/shell/ConfigDialog.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/StatusButtons.h"

namespace zelvora {

namespace {

constexpr int kConfigCommand = 3049;

struct ConfigFixture : WindowFixture {
  using WindowFixture::WindowFixture;

  TConfigDialog* Dialog() const {
    const auto open = window->findChildren<TConfigDialog*>();
    return open.size() == 1 ? open.front() : nullptr;
  }
  TConfigDialog* OpenDialog() {
    window->ExecuteCommand(kConfigCommand);
    return Dialog();
  }
  bool Closed() const { return window->findChildren<TConfigDialog*>().isEmpty(); }
  std::string DenyFile() const { return paths.perUserFolder + "/DenyUrlList.txt"; }
};

template <typename Control>
Control* Find(const QWidget* dialog, const QString& name) {
  return dialog->findChild<Control*>(name);
}

void Click(const QWidget* dialog, const char* button) {
  Find<QPushButton>(dialog, QLatin1String(button))->click();
}

// Typing replaces the box's text, as the user does.
void Type(QSpinBox* spin, const QString& text) {
  spin->setFocus();
  spin->selectAll();
  QTest::keyClick(spin, Qt::Key_Delete);
  QTest::keyClicks(spin, text);
}

}  // namespace

class ConfigDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void OneDialogAndBaseResetBehindItsGuard() {
    ConfigFixture fixture("[ConfigDialog]\r\nTabOpenMax=55\r\nConfirmExit=1\r\n");
    fixture.Open();
    TConfigDialog* dialog = fixture.OpenDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("ConfigDialog"));
    QVERIFY(!fixture.window->Menus().Action(kConfigCommand)->isEnabled());
    QCOMPARE(fixture.OpenDialog(), dialog);

    auto* openMax = Find<QSpinBox>(dialog, QStringLiteral("Integer%1").arg(kIntTabOpenMax));
    auto* confirm = Find<QCheckBox>(dialog, QStringLiteral("Flag%1").arg(kFlagConfirmExit));
    QCOMPARE(openMax->value(), 55);
    QVERIFY(confirm->isChecked());
    auto* reset = Find<QPushButton>(dialog, QStringLiteral("BaseReset"));
    QVERIFY(!reset->isEnabled());
    QTest::mouseClick(reset, Qt::LeftButton);
    QCOMPARE(openMax->value(), 55);
    Find<QCheckBox>(dialog, QStringLiteral("BaseResetGuard"))->setChecked(true);
    QVERIFY(reset->isEnabled());
    reset->click();
    QVERIFY(openMax->value() != 55);
    QVERIFY(!confirm->isChecked());

    Click(dialog, "Cancel");
    QTRY_VERIFY(fixture.Closed());
    QCOMPARE(fixture.window->Settings().Int(kIntTabOpenMax), 55);
    QVERIFY(fixture.window->Settings().Flag(kFlagConfirmExit));
    QCOMPARE(fixture.Key("ConfigDialog", "TabOpenMax"), std::string("55"));
    QVERIFY(fixture.window->Menus().Action(kConfigCommand)->isEnabled());
  }

  void PageRememberedForTheRunAndKeptOnlyByApply() {
    ConfigFixture fixture("[ConfigDialog]\r\nConfigSelect=3\r\n");
    fixture.Open();
    TConfigDialog* dialog = fixture.OpenDialog();
    QCOMPARE(dialog->CurrentPage(), 3);
    auto* tree = Find<QTreeWidget>(dialog, QStringLiteral("PageTree"));
    const QList<QTreeWidgetItem*> found =
        tree->findItems(QStringLiteral("Analysis"), Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    tree->setCurrentItem(found.front());
    QCOMPARE(dialog->CurrentPage(), static_cast<int>(kConfigPageAnalysis));
    dialog->move(fixture.window->x() + 70, fixture.window->y() + 40);
    const QPoint position = dialog->pos();
    Click(dialog, "Cancel");
    QTRY_VERIFY(fixture.Closed());
    QCOMPARE(fixture.Key("ConfigDialog", "ConfigSelect"), std::string("3"));
    QCOMPARE(fixture.Key("ConfigDialog", "x"), std::to_string(position.x()));
    QCOMPARE(fixture.Key("ConfigDialog", "y"), std::to_string(position.y()));

    // Escape closes as Cancel does.
    dialog = fixture.OpenDialog();
    QCOMPARE(dialog->CurrentPage(), static_cast<int>(kConfigPageAnalysis));
    QCOMPARE(dialog->pos(), position);
    dialog->move(position + QPoint(5, 5));
    tree = Find<QTreeWidget>(dialog, QStringLiteral("PageTree"));
    QTest::keyClick(tree, Qt::Key_Escape);
    QTRY_VERIFY(fixture.Closed());
    QCOMPARE(fixture.Key("ConfigDialog", "x"), std::to_string(position.x() + 5));
    QVERIFY(fixture.window->Menus().Action(kConfigCommand)->isEnabled());

    dialog = fixture.OpenDialog();
    Click(dialog, "Apply");
    QCOMPARE(fixture.Key("ConfigDialog", "ConfigSelect"),
             std::to_string(static_cast<int>(kConfigPageAnalysis)));
    QVERIFY(!fixture.Closed());
    Click(dialog, "OK");
    QTRY_VERIFY(fixture.Closed());
  }

  void LayeredValuesApplyAtOnceAndTypedValuesClamp() {
    ConfigFixture fixture("");
    fixture.Open();
    QCOMPARE(fixture.window->windowOpacity(), 1.0);
    QVERIFY(fixture.window->StatusButtons().Permissions()[0]);
    TConfigDialog* dialog = fixture.OpenDialog();
    Find<QCheckBox>(dialog, QStringLiteral("Flag%1").arg(kFlagWebPermitMultiMediaFirst))
        ->setChecked(false);
    dialog->SelectPage(kConfigPageLayered);
    Find<QCheckBox>(dialog, QStringLiteral("Flag%1").arg(kFlagLayeredMain))->setChecked(true);
    auto* mainValue = Find<QSpinBox>(dialog, QStringLiteral("Integer%1").arg(kIntLayeredMainValue));
    auto* mainSlider = Find<QSlider>(dialog, QStringLiteral("Slider%1").arg(kIntLayeredMainValue));
    mainValue->setValue(100);
    QCOMPARE(mainSlider->value(), 100);
    mainSlider->setValue(102);
    QCOMPARE(mainValue->value(), 102);
    // The dialog's own row: "LayeredConfig" is the sixth.
    Find<QCheckBox>(
        dialog, QStringLiteral("Flag%1").arg(kFlagLayeredMain + static_cast<int>(kLayeredConfig)))
        ->setChecked(true);
    Find<QSpinBox>(
        dialog,
        QStringLiteral("Integer%1").arg(kIntLayeredMainValue + static_cast<int>(kLayeredConfig)))
        ->setValue(204);
    // Out of range as typed: the values that reach the record are the range's ends.
    Type(Find<QSpinBox>(dialog, QStringLiteral("Integer%1").arg(kIntLayeredMainValue + 1)),
         QStringLiteral("300"));
    dialog->SelectPage(kConfigPageTab);
    auto* openMax = Find<QSpinBox>(dialog, QStringLiteral("Integer%1").arg(kIntTabOpenMax));
    Type(openMax, QStringLiteral("99999"));
    auto* titleMax = Find<QSpinBox>(dialog, QStringLiteral("Integer%1").arg(kIntTabTitleMax));
    Type(titleMax, QStringLiteral("0"));

    // Alt+A holds Apply down and applies when the keys are let go.
    QTest::keyPress(titleMax, Qt::Key_A, Qt::AltModifier);
    auto* apply = Find<QPushButton>(dialog, QStringLiteral("Apply"));
    QVERIFY(apply->isDown());
    QCOMPARE(fixture.window->windowOpacity(), 1.0);
    QTest::keyRelease(titleMax, Qt::Key_A, Qt::AltModifier);
    QVERIFY(!apply->isDown());

    QCOMPARE(qRound(fixture.window->windowOpacity() * 255), 102);
    QCOMPARE(qRound(dialog->windowOpacity() * 255), 204);
    const TSettings& record = fixture.window->Settings();
    QCOMPARE(record.Int(kIntLayeredMainValue + 1), 255);
    QCOMPARE(record.Int(kIntTabOpenMax), 100);
    QCOMPARE(record.Int(kIntTabTitleMax), 1);
    QCOMPARE(openMax->value(), 100);
    QCOMPARE(fixture.Key("ConfigDialog", "LayeredMain"), std::string("1"));
    QCOMPARE(fixture.Key("ConfigDialog", "LayeredMainValue"), std::string("102"));
    QCOMPARE(fixture.Key("ConfigDialog", "TabOpenMax"), std::string("100"));
    // Without a page the permission buttons show what new pages get.
    QVERIFY(!fixture.window->StatusButtons().Permissions()[0]);

    // Alt+C closes at once without copying anything more.
    Find<QCheckBox>(dialog, QStringLiteral("Flag%1").arg(kFlagLayeredMain))->setChecked(false);
    QTest::keyClick(titleMax, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(fixture.Closed());
    QCOMPARE(qRound(fixture.window->windowOpacity() * 255), 102);
  }

  void DenyListTextReachesTheFileAndTheRunningList() {
    ConfigFixture fixture("");
    { std::ofstream(fixture.DenyFile(), std::ios::binary) << "1 first.example\r\n"; }
    fixture.Open();
    TConfigDialog* dialog = fixture.OpenDialog();
    dialog->SelectPage(kConfigPageDenyUrl);
    auto* text = Find<QPlainTextEdit>(dialog, QStringLiteral("DenyText"));
    QCOMPARE(text->toPlainText(), QStringLiteral("1 first.example\n"));
    QCOMPARE(fixture.window->Session().DenyList().size(), std::size_t{1});

    text->setPlainText(
        QStringLiteral("; blocked hosts\n2 blocked.example\n4 old.example "
                       "http://new.example/"));
    QTest::keyClick(text, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(fixture.Closed());
    std::ifstream in(fixture.DenyFile(), std::ios::binary);
    std::stringstream saved;
    saved << in.rdbuf();
    QCOMPARE(saved.str(), std::string("; blocked hosts\r\n2 blocked.example\r\n4 old.example "
                                      "http://new.example/"));
    const std::vector<DenyEntry>& list = fixture.window->Session().DenyList();
    QCOMPARE(list.size(), std::size_t{2});
    std::string url = "http://old.example/page";
    QCOMPARE(CheckDenyList(list, url), static_cast<int>(kDenyRedirect));
    QCOMPARE(url, std::string("http://new.example/"));

    // "<Reload>" shows the file again over unsaved changes.
    dialog = fixture.OpenDialog();
    text = Find<QPlainTextEdit>(dialog, QStringLiteral("DenyText"));
    text->setPlainText(QStringLiteral("unsaved"));
    Click(dialog, QStringLiteral("Action%1").arg(kConfigDenyReload).toLatin1().constData());
    QVERIFY(text->toPlainText().contains(QStringLiteral("2 blocked.example")));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::ConfigDialogTest)
#include "ConfigDialogTest.moc"
