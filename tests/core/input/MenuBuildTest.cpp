#include <gtest/gtest.h>

#include "SettingsFileFixture.h"
#include "core/input/MenuBuild.h"

namespace zelvora {
namespace {

// The fixture's file is the theme file here.
class MenuBuildTest : public SettingsFileFixture {};

TEST_F(MenuBuildTest, ThemeKeysAndGesturesComeFromOneWalk) {
  WriteRaw(
      "[ShortCutKey]\r\nNewTab=Ctrl+T\r\nWebClose=ctrl+t\r\n"
      "[MouseGesture]\r\nNewTab=DR\r\n[Mouse]\r\nGestureEnable=1\r\n[ControlLabel]\r\nD=Dn\r\n");
  TThemeTexts texts;
  texts.Load(path_);
  TMenuBuild build;
  BuildMenusFromTheme(path_, texts, build);

  // The same key text again (in another case) binds nothing but still shows in the caption.
  EXPECT_EQ(build.shortcuts.Table().Find(kAccelControl, 'T'), std::optional<std::uint16_t>(3002));
  EXPECT_EQ(build.shortcuts.Table().Entries().size(), 1u);
  ASSERT_NE(FindMenuEntry(build.model, 3014), nullptr);
  EXPECT_EQ(FindMenuEntry(build.model, 3014)->keyText, "ctrl+t");

  // The gesture labels are the theme's: down is "Dn" here, so "DR" can never match.
  ASSERT_TRUE(build.gestures.Enabled());
  build.gestures.Press(0, 0);
  const auto status = build.gestures.Move(0, 100, true, [](std::uint16_t) { return ""; });
  EXPECT_EQ(status, std::optional<std::string>("Dn"));
}

TEST_F(MenuBuildTest, WithoutAThemeFileEverythingIsBuiltIn) {
  TThemeTexts texts;
  TMenuBuild build;
  BuildMenusFromTheme(path_, texts, build);
  EXPECT_TRUE(build.shortcuts.Table().Entries().empty());
  EXPECT_FALSE(build.gestures.Enabled());
  EXPECT_EQ(CaptionOfCommand(build.model, 3002), "New");
}

}  // namespace
}  // namespace zelvora
