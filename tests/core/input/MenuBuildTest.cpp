#include <gtest/gtest.h>

#include "SettingsFileFixture.h"
#include "core/input/MenuBuild.h"

namespace zelvora {
namespace {

// The fixture's file is the theme file here.
class MenuBuildTest : public SettingsFileFixture {
 protected:
  void WriteTheme(const std::string& text) { WriteRaw(text); }
  static std::vector<const MenuEntry*> ItemsWithId(const MenuModel& model, std::uint16_t id) {
    std::vector<const MenuEntry*> found;
    for (const MenuPopup& popup : model.popups) {
      for (const MenuEntry& entry : popup.entries) {
        if (entry.kind == MenuEntryKind::kItem && entry.id == id)
          found.push_back(&entry);
      }
    }
    return found;
  }
};

TEST_F(MenuBuildTest, ThemeCaptionsKeysAndGesturesComeFromOneWalk) {
  WriteTheme(
      "[Menu]\r\nNewTab=Fresh\\sTab\r\n[ShortCutKey]\r\nNewTab=Ctrl+T\r\nWebClose=ctrl+t\r\n"
      "[MouseGesture]\r\nNewTab=DR\r\n[Mouse]\r\nGestureEnable=1\r\n[ControlLabel]\r\nD=Dn\r\n");
  TThemeTexts texts;
  texts.Load(path_);
  TMenuBuild build;
  BuildMenusFromTheme(path_, texts, build);

  // "NewTab" stands in two menus: the theme renames both, and both show the key text.
  const auto newTabs = ItemsWithId(build.model, 3002);
  ASSERT_EQ(newTabs.size(), 2u);
  for (const MenuEntry* entry : newTabs)
    EXPECT_EQ(entry->Text(), "Fresh Tab\tCtrl+T");
  // The same key text again (in another case) binds nothing but still shows in the caption.
  EXPECT_EQ(build.shortcuts.Table().Find(kAccelControl, 'T'), std::optional<std::uint16_t>(3002));
  EXPECT_EQ(build.shortcuts.Table().Entries().size(), 1u);
  for (const MenuEntry* entry : ItemsWithId(build.model, 3014)) {
    EXPECT_EQ(entry->keyText, "ctrl+t");
  }

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
