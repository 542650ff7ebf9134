#include "core/input/MenuBuild.h"

namespace zelvora {

namespace {

class ThemeFileSource : public MenuThemeSource {
 public:
  ThemeFileSource(const std::string& themeFile, const TThemeTexts& texts)
      : themeFile_(themeFile), texts_(texts) {}

  std::string MenuCaption(std::string_view name, std::string_view builtIn) override {
    return ReadMenuCaption(themeFile_, name, builtIn);
  }
  std::string MenuBarCaption(std::string_view name, std::string_view builtIn) override {
    return ReadMenuBarCaption(themeFile_, name, builtIn);
  }
  std::string ShortcutText(std::string_view name) override {
    return ReadShortcutKeyText(themeFile_, name);
  }
  std::string GestureText(std::string_view name) override {
    return ReadGestureText(themeFile_, name);
  }
  std::string FileHistoryLabel() override { return texts_.FileHistoryCaption(); }

 private:
  const std::string& themeFile_;
  const TThemeTexts& texts_;
};

}  // namespace

void BuildMenusFromTheme(const std::string& themeFile, const TThemeTexts& texts,
                         TMenuBuild& build) {
  const GestureSettings settings = ReadGestureSettings(themeFile);
  build.gestures.Configure(settings,
                           {texts.Label(kLabelGestureLeft), texts.Label(kLabelGestureUp),
                            texts.Label(kLabelGestureRight), texts.Label(kLabelGestureDown)});
  build.shortcuts.Clear();

  ThemeFileSource source(themeFile, texts);
  MenuBuildOptions options;
  options.theme = &source;
  options.gesturesEnabled = settings.enabled;
  options.addShortcut = [&build](std::uint16_t id, std::string_view keyText) {
    return build.shortcuts.Bind(keyText, id);
  };
  options.addGesture = [&build](std::uint16_t id, std::string_view gesture) {
    build.gestures.AddBinding(id, gesture);
  };
  build.model = BuildMenus(options);
}

}  // namespace zelvora
