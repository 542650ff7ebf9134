#include <gtest/gtest.h>

#include <string>

#include "SettingsFileFixture.h"
#include "core/input/ThemeTexts.h"

namespace zelvora {
namespace {

class ThemeTextsTest : public SettingsFileFixture {};

TEST(ThemeKeyTest, KeysAndNamesAreDerivedFromTheBuiltInTexts) {
  EXPECT_EQ(ThemeKey("&Whole Words Only"), "WholeWordsOnly");
  EXPECT_EQ(ThemeKey("Don't Write(&N)"), "DontWrite");
  EXPECT_EQ(ThemeKey(" Important Reboot"), "ImportantReboot");
  EXPECT_EQ(ThemeKey("A\tB(x(y)"), "AB");
  EXPECT_EQ(ThemeKey("<x>"), "<x>");

  EXPECT_EQ(PlainActionName("Edit && Copy(&E)"), "Edit & Copy");
  EXPECT_EQ(PlainActionName("&Search(&S)"), "Search");
  EXPECT_EQ(PlainActionName("A & B &"), "A & B &");
}

TEST(ThemeKeyTest, MessageEscapesAndBuiltInMessagesDecode) {
  EXPECT_EQ(DecodeMessageEscapes("Two\\nLines"), "Two\r\nLines");
  EXPECT_EQ(DecodeMessageEscapes("\\sA\\tB\\s"), " A\tB ");
  EXPECT_EQ(DecodeMessageEscapes("C:\\x\\"), "C:\\x\\");
}

TEST_F(ThemeTextsTest, WithoutAThemeTheBuiltInTextsAreShownTheirOwnWay) {
  for (const TThemeTexts& texts : {TThemeTexts(), [&] {
                                     TThemeTexts loaded;
                                     loaded.Load(path_);  // the file does not exist
                                     return loaded;
                                   }()}) {
    EXPECT_EQ(texts.AboutText(), "Theme: --- by unknown");
    EXPECT_EQ(texts.Label(kLabelImportantReboot), " [ Important Reboot]");
    EXPECT_EQ(texts.Message(kMessageConfirmExit), "Do you wish to exit?\r\n");
  }
}

TEST_F(ThemeTextsTest, ThemeValuesOverrideAndSharedKeysShareThem) {
  WriteRaw(
      "[Theme]\r\nTitle=Deutsch\r\nAuthor=Jan\r\n"
      "[Menu]\r\nFavorite=Favoriten\r\nProxy=\r\n"
      "[Button]\r\nStopAll=Halt\r\nSecure128BIT=Sicher\r\nEffective=Aktiv\r\n"
      "[ControlLabel]\r\nDontWrite=Nicht schreiben\r\nNone=Keine\r\nHour=Std\r\n<x>=\r\n"
      "Sec=Sec\r\nImportantReboot=Neustart n\xC3\xB6tig\r\nTreeAddresBar=Adressleiste\r\n"
      "FileHistory=&Verlauf\r\n"
      "[Message]\r\n9=Beenden?\\nWirklich\r\n4=\\s%1\\tge\xC3\xA4ndert.\r\n");
  TThemeTexts texts;
  texts.Load(path_);
  EXPECT_EQ(texts.AboutText(), "Theme: Deutsch by Jan");
  EXPECT_EQ(texts.ToolPanelTreeName(kToolPanelFavorite), "Favoriten");
  EXPECT_EQ(texts.ToolPanelTreeName(kToolPanelProxy), "Proxy");
  EXPECT_EQ(texts.FileHistoryCaption(), "&Verlauf");
  EXPECT_EQ(texts.ButtonTips(ButtonGroup::kToolbar)[3], "Halt");
  EXPECT_EQ(texts.ButtonTips(ButtonGroup::kSecurity)[6], "Sicher");
  EXPECT_EQ(texts.Label(kLabelDontWrite), "Nicht schreiben");
  EXPECT_EQ(texts.Label(kLabelClickNone), "Keine");
  EXPECT_EQ(texts.ConfigPageName(kConfigPageAddressBar), "Adressleiste");
  // Replaced only where the theme left the built-in text (absent, empty or repeated).
  EXPECT_EQ(texts.Label(kLabelHour), "Std");
  EXPECT_EQ(texts.Label(kLabelMin), ":");
  EXPECT_EQ(texts.Label(kLabelCross), "x");
  EXPECT_EQ(texts.Label(kLabelSec), "");
  EXPECT_EQ(texts.Label(kLabelImportantReboot), " [Neustart n\xC3\xB6tig]");
  EXPECT_EQ(texts.Message(kMessageConfirmExit), "Beenden?\r\nWirklich");
  EXPECT_EQ(texts.Message(kMessageModified), " %1\tge\xC3\xA4ndert.");

  // Applying the labels page again must not wrap the notice twice.
  texts.LoadControlLabels(path_);
  EXPECT_EQ(texts.Label(kLabelImportantReboot), " [Neustart n\xC3\xB6tig]");
  WriteRaw("[ControlLabel]\r\nHour=Std\r\n");
  texts.LoadControlLabels(path_);
  EXPECT_EQ(texts.Label(kLabelImportantReboot), " [ Important Reboot]");
  EXPECT_EQ(texts.Label(kLabelDontWrite), "Don't Write(&N)");
  EXPECT_EQ(texts.ButtonTips(ButtonGroup::kToolbar)[3], "Halt");  // not re-read
}

TEST_F(ThemeTextsTest, MalformedThemeLoadsWhatParsesAndFallsBackOnEmptyValues) {
  // A section header without its "]" still opens the section.
  WriteRaw(
      "[button]\r\nstopall=Halt\r\nREFRESH=\r\nHome=   \r\nBack=\xFF\xFE\x80zur\xC3\r\n"
      "[ControlLabel\r\nForward=Vor\r\n"
      "[MENU]\r\nFileOpen=&Open...\\tCtrl+O\\s\\s\r\nFileMenu=&Datei\\s\r\nBlank=\\s\r\n");
  TThemeTexts texts;
  texts.Load(path_);
  const auto toolbar = texts.ButtonTips(ButtonGroup::kToolbar);
  EXPECT_EQ(toolbar[3], "Halt");
  EXPECT_EQ(toolbar[5], "Refresh All");
  EXPECT_EQ(toolbar[6], "Home");
  EXPECT_EQ(toolbar[0], "\xFF\xFE\x80zur\xC3");  // kept byte for byte
  EXPECT_EQ(texts.Label(kLabelForward), "Vor");
  EXPECT_EQ(toolbar[1], "Forward");

  EXPECT_EQ(ReadMenuCaption(path_, "FileOpen", "&Open"), "&Open...\tCtrl+O");
  EXPECT_EQ(ReadMenuCaption(path_, "FileSave", "&Save\\tCtrl+S "), "&Save\tCtrl+S");
  EXPECT_EQ(ReadMenuCaption(path_, "Blank", "Built-in"), "");
  EXPECT_EQ(ReadMenuBarCaption(path_, "FileMenu", "&File"), "&Datei\\s");
  EXPECT_EQ(ReadMenuBarCaption(path_, "ViewMenu", "&View"), "&View");
}

}  // namespace
}  // namespace zelvora
