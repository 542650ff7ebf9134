#pragma once

// The texts a theme file can override, with their built-in English defaults, and the loader that
// reads them once for the whole run. A missing theme file, a missing key or an empty value leaves
// the built-in text in place. The menu captions themselves belong to the command table; the
// caption helpers here are what it reads them with.

#include <array>
#include <cstddef>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/WindowState.h"

namespace zelvora {

inline constexpr std::string_view kThemeSection = "Theme";
inline constexpr std::string_view kThemeMenuSection = "Menu";
inline constexpr std::string_view kThemeButtonSection = "Button";
inline constexpr std::string_view kThemeLabelSection = "ControlLabel";
inline constexpr std::string_view kThemeMessageSection = "Message";
inline constexpr std::string_view kThemeShortcutSection = "ShortCutKey";
inline constexpr std::string_view kThemeGestureSection = "MouseGesture";
inline constexpr std::string_view kThemeMouseSection = "Mouse";

inline constexpr std::string_view kThemeTitleKey = "Title";
inline constexpr std::string_view kThemeAuthorKey = "Author";
inline constexpr std::string_view kDefaultThemeTitle = "---";
inline constexpr std::string_view kDefaultThemeAuthor = "unknown";

// The recently-opened-files sub-menu; its caption lives among the labels but is edited with
// the menus.
inline constexpr std::string_view kFileHistoryKey = "FileHistory";
inline constexpr std::string_view kDefaultFileHistoryCaption = "&File History";

// The theme key of a tip or label: the text before its first "(" with every "&", "'" and blank
// removed, so "Don't Write(&N)" is read under "DontWrite". Texts giving the same key share one
// theme value.
std::string ThemeKey(std::string_view builtInText);

// Message values (and their built-in texts) are stored escaped: "\s" is a blank, "\t" a tab and
// "\n" a CR LF pair; any other backslash stays as it is.
std::string DecodeMessageEscapes(std::string_view text);

// A menu item's caption: "\s" and "\t" decoded (the text after a tab shows in the accelerator
// column), trailing blanks removed.
std::string ReadMenuCaption(std::string_view themeFile, std::string_view name,
                            std::string_view builtIn);
// A menu-bar or sub-menu caption, taken as it stands.
std::string ReadMenuBarCaption(std::string_view themeFile, std::string_view name,
                               std::string_view builtIn);
// The name a selection action is known by: the caption before its first "(", without the
// mnemonic marks ("&x" gives "x", "&&" a single "&"), so "Edit && Copy(&E)" is "Edit & Copy".
std::string PlainActionName(std::string_view caption);

// ---- Messages, by number ("0" to "11" in the theme). "%1" stands for a position, a file name or
// a count that the caller fills in.

enum ThemeMessage : int {
  kMessageRegularExpression = 0,
  kMessageNotEnoughClosingBrackets = 1,
  kMessageUnclosedClass = 2,
  kMessageUnopenedBracket = 3,
  kMessageModified = 4,
  kMessageWorkingNow = 5,
  kMessageStopWork = 6,
  kMessageWorkFinished = 7,
  kMessageStoppedWorking = 8,
  kMessageConfirmExit = 9,
  kMessageDownloadsRunning = 10,
  kMessageSessionRestored = 11,
  kThemeMessageCount,
};

inline constexpr std::string_view kBuiltInMessages[] = {
    "RegularExpression",
    "There are not enough closing brackets ')'",
    "At position %1 was found opening '[' without\\n\\ncorresponding closing ']'",
    "At position %1 was found closing bracket ')' without\\n\\ncorresponding opening '('",
    "\"%1\" has been modified.\\n\\nDo you wish to write changes ?",
    "Working now.",
    "Do you wish to stop the work now ?",
    "Work finished. :-)",
    "Stopped Working.",
    "Do you wish to exit?\\n",
    "Downloads running: %1\\n\\nDo you wish to exit and cancel them?",
    "The last session did not end cleanly: its tabs were restored.",
};
static_assert(std::size(kBuiltInMessages) == kThemeMessageCount);

// The built-in message, decoded, for code that runs before (or without) a theme.
std::string BuiltInMessage(ThemeMessage message);

// ---- Button tips, in the program's four button groups.

enum class ButtonGroup : int { kToolbar, kDownloadControl, kSecurity, kTwoState };
inline constexpr std::size_t kButtonGroupCount = 4;

inline constexpr std::string_view kToolbarButtonTips[] = {
    "Back",   "Forward",   "Stop",         "Stop All",  "Refresh",      "Refresh All", "Home",
    "Search", "Tool",      "New",          "Clipboard", "Open",         "Size",        "Print",
    "Close",  "Close All", "Web Write As", "Source",    "Favorite Add",
};
static_assert(std::size(kToolbarButtonTips) == 19);

inline constexpr std::string_view kDownloadControlButtonTips[] = {
    "Image", "Sound", "Movie", "Java", "Script", "ActiveX", "ActiveX Download",
};
static_assert(std::size(kDownloadControlButtonTips) == 7);

inline constexpr std::string_view kSecurityButtonTips[] = {
    "Unsecure",     "Mixed",           "Secure UnknownBits", "Secure 40Bit",
    "Secure 56Bit", "Secure Fortezza", "Secure 128BIT",
};
static_assert(std::size(kSecurityButtonTips) == 7);

inline constexpr std::string_view kTwoStateButtonTips[] = {"Invalid", "Effective"};
static_assert(std::size(kTwoStateButtonTips) == 2);

std::span<const std::string_view> BuiltInButtonTips(ButtonGroup group);

// ---- Dialog labels, addressed by position. Several positions share a text (and so a key).

enum ControlLabel : int {
  kLabelKeyWord = 0,
  kLabelName,
  kLabelUrl,
  kLabelTitle,
  kLabelRegExp,
  kLabelDate,
  kLabelDir,
  kLabelLock,
  kLabelFileHistory,
  kLabelProxy,
  kLabelHour,
  kLabelMin,
  kLabelSec,
  kLabelUseIeProxy,
  kLabelBypassLocalAddresses,
  kLabelCross,
  kLabelOk,
  kLabelCancel,
  kLabelApply,
  kLabelDontWrite,
  kLabelWrite,
  kLabelOffLine,
  kLabelOnLine,
  kLabelChangeNext,
  kLabelFixed,
  kLabelReloadMark,
  kLabelApplyMark,
  kLabelUrlOrFilePath,
  kLabelNewTabOpen,
  kLabelSelect,
  kLabelWholeWordsOnly,
  kLabelMatchCase,
  kLabelSearchScope,
  kLabelForward,
  kLabelBackward,
  kLabelNextSearch,
  kLabelShiftKeyStopped,
  kLabelSearchIsDone,
  kLabelSource,
  kLabelFront,
  kLabelBack,
  kLabelStandardMenu,
  kLabelStartSize,
  kLabelStartPos,
  kLabelStartNone,
  kLabelLastSize,
  kLabelLastPos,
  kLabelStartFixed,
  kLabelW,
  kLabelH,
  kLabelX,
  kLabelY,
  kLabelOptionToSetForeground,
  kLabelTabUrlRestore,
  kLabelAllowMultipleInstances,
  kLabelConfirmationOnExit,
  kLabelDefaultBrowser,
  kLabelNewTabSelect,
  kLabelTabToolTip,
  kLabelTabToolTipCharMax,
  kLabelTabOpenMax,
  kLabelTabTitleCharMax,
  kLabelNewTabPosition,
  kLabelDeleteTabAfterPosition,
  kLabelWheelClick,
  kLabelLeftDoubleClick,
  kLabelReturn,
  kLabelLast,
  kLabelFirst,
  kLabelSelectTabRight,
  kLabelSelectTabLeft,
  kLabelClickNone,
  kLabelClickClose,
  kLabelClickReload,
  kLabelHistoryListMax,
  kLabelAddressNewTabOpen,
  kLabelFitnessWidth,
  kLabelSelectOpenImmediately,
  kLabelSearchNewTabOpen,
  kLabelTreeToolTip,
  kLabelTreeToolTipCharMax,
  kLabelFileHistoryMax,
  kLabelItemNameCharMax,
  kLabelKeyWordListMax,
  kLabelAfterCloseItem,
  kLabelCaseInsensitiveMatching,
  kLabelFrom,
  kLabelTo,
  kLabelToday,
  kLabelAlwaysToday,
  kLabelDateRange,
  kLabelTakeImageTags,
  kLabelUserAgent,
  kLabelNowUserAgent,
  kLabelHomePage,
  kLabelIeHomePage,
  kLabelNowTabPage,
  kLabelBlankPage,
  kLabelHistoryMenuMax,
  kLabelUseDenyUrl,
  kLabelEdit,
  kLabelMultiMedia,
  kLabelSecurity,
  kLabelDownload,
  kLabelImage,
  kLabelSound,
  kLabelVideo,
  kLabelJava,
  kLabelScript,
  kLabelActiveX,
  kLabelActiveXDownload,
  kLabelDownloadOnly,
  kLabelFrameDownLoad,
  kLabelReSynchronize,
  kLabelPragmaNoCache,
  kLabelForceOffLine,
  kLabelNoClientPull,
  kLabelSilent,
  kLabelOffLineIfNotConnected,
  kLabelChangedReload,
  kLabelWebProgressColor,
  kLabelTabWidth,
  kLabelTabHeight,
  kLabelProgressBar,
  kLabelColorFore,
  kLabelColorBack,
  kLabelSample,
  kLabelReset,
  kLabelNameFolder,
  kLabelNameUrl,
  kLabelNameProxy,
  kLabelValueUrl,
  kLabelValueProxy,
  kLabelFileUnTitled,
  kLabelConfirmModified,
  kLabelOnlyWindows2000Xp,
  kLabelMainWindow,
  kLabelSearchDialog,
  kLabelOpenDialog,
  kLabelEditDialog,
  kLabelSelectDialog,
  kLabelConfigDialog,
  kLabelDateDialog,
  kLabelOtherDialog,
  kLabelColorKey,
  kLabelThemeOpen,
  kLabelThemeEdit,
  kLabelThemeWriteAs,
  kLabelThemeDefine,
  kLabelThemeAuthor,
  kLabelThemeMenu,
  kLabelThemeButtonTips,
  kLabelThemeControlLabels,
  kLabelThemeMessage,
  kLabelThemeMouse,
  kLabelThemeLanguage,
  kLabelThemeKey,
  kLabelThemeGesture,
  kLabelEnableGesture,
  kLabelAllowSameDirection,
  kLabelSensitivity,
  kLabelGestureBackSpace,
  kLabelGestureLeft,
  kLabelGestureUp,
  kLabelGestureRight,
  kLabelGestureDown,
  kLabelBaseReset,
  kLabelImportantReboot,
  kControlLabelCount,
};
static_assert(kControlLabelCount == 168);

inline constexpr std::string_view kBuiltInControlLabels[] = {
    "KeyWord",
    "&Name",
    "&URL",
    "&Title",
    "&RegExp",
    "&Date",
    "&Dir",
    "&Lock",
    "&File History",
    "&Proxy",
    "Hour",
    "Min",
    "Sec",
    "Use IE Proxy",
    "Bypass Local Addresses",
    "<x>",
    "&OK",
    "&Cancel",
    "&Apply",
    "Don't Write(&N)",
    "Write",
    "OffLine",
    "OnLine",
    "Chang&e Next",
    "Fixed",
    "<Reload>",
    "<Apply>",
    "URL or File Path",
    "&New Tab Open",
    "&Select",
    "&Whole Words Only",
    "&Match Case",
    "Search Scope",
    "&Forward",
    "&Backward",
    "Next &Search",
    "SHIFT Key Stopped",
    "Search is Done",
    "&Source",
    "Front",
    "Back",
    "Standard Menu",
    "Start Size",
    "Start Pos",
    "None",
    "Last Size",
    "Last Pos",
    "Fixed",
    "W",
    "H",
    "X",
    "Y",
    "Option to Set Foreground",
    "Tab URL Restore",
    "Allow Multiple Instances",
    "Confirmation on Exit",
    "Default Browser",
    "NewTab Select",
    "ToolTip",
    "ToolTip Char Max",
    "Tab Open Max",
    "Tab Title Char Max",
    "New Tab Position",
    "Delete Tab After Position",
    "Wheel Click",
    "Left DoubleClick",
    "Return",
    "Last",
    "First",
    "SelectTab Right",
    "SelectTab Left",
    "None",
    "Close",
    "Reload",
    "History List Max",
    "NewTab Open",
    "Fitness Width",
    "Select Open Immediately",
    "NewTab Open",
    "ToolTip",
    "ToolTip Char Max",
    "File History Max",
    "Item Name Char Max",
    "KeyWord List Max",
    "After Close Item",
    "Do Case-Insensitive Pattern Matching",
    "From",
    "To",
    "Today",
    "Always Today",
    "Date Range",
    "Take Image Tags",
    "UserAgent",
    "Now UserAgent",
    "HomePage",
    "IE HomePage",
    "Now TabPage",
    "Blank Page",
    "History Menu Max",
    "Use Deny URL",
    "Edit",
    "MultiMedia",
    "Security",
    "Download",
    "Image",
    "Sound",
    "Video",
    "Java",
    "Script",
    "ActiveX",
    "ActiveX Download",
    "DownloadOnly",
    "FrameDownLoad",
    "ReSynchronize",
    "PragmaNoCache",
    "ForceOffLine",
    "NoClientPull",
    "Silent",
    "OffLineIfNotConnected",
    "Changed Reload",
    "Web Progress Color",
    "Tab Width",
    "Tab Height",
    "ProgressBar",
    "Color Fore",
    "Color Back",
    "Sample",
    "Reset",
    "Name Folder",
    "Name URL",
    "Name Proxy",
    "Value URL",
    "Value Proxy",
    "File UnTitled",
    "Confirm Modified",
    "Only Windows 2000 XP",
    "Main &Window",
    "&Search Dialog",
    "&Open Dialog",
    "&Edit Dialog",
    "&Select Dialog",
    "&Config Dialog",
    "&Date Dialog",
    "Other &Dialog",
    "Color &Key",
    "Open",
    "Edit",
    "Write as",
    "Define",
    "Author",
    "Menu",
    "Button Tips",
    "Control Labels",
    "Message",
    "Mouse",
    "Language",
    "Key",
    "Gesture",
    "Enable Gesture",
    "Allow Same Direction",
    "Sensitivity",
    "BS",
    "L",
    "U",
    "R",
    "D",
    "Base Reset",
    " Important Reboot",
};
static_assert(std::size(kBuiltInControlLabels) == kControlLabelCount);

// Labels of the "Tab" page's tab session options, read by their keys like the labels above but
// kept apart, so that the labels above keep their positions (the last one is the reboot notice).
inline constexpr std::string_view kTabSessionLabels[] = {
    "Session Auto Save",
    "Tab Lazy Load",
    "Tab Discard Minutes",
};
inline constexpr int kTabSessionLabelCount = static_cast<int>(std::size(kTabSessionLabels));

// ---- The pages of the configuration dialog's tree, read as "Tree" + name.

enum ConfigTreePage : int {
  kConfigPageConfig,
  kConfigPageTab,
  kConfigPageAddressBar,
  kConfigPageSearchBar,
  kConfigPageTool,
  kConfigPageFavorite,
  kConfigPageHistory,
  kConfigPageAnalysis,
  kConfigPageProxy,
  kConfigPageWeb,
  kConfigPageSearch,
  kConfigPageDenyUrl,
  kConfigPagePermission,
  kConfigPageOther,
  kConfigPageItems,
  kConfigPageFile,
  kConfigPageLayered,
  kConfigPageTheme,
  kConfigTreePageCount,
};

// The built-in names; "AddresBar" is spelt as the theme files have always keyed it.
inline constexpr std::string_view kConfigTreePageNames[] = {
    "Config",     "Tab",      "AddresBar", "SearchBar", "Tool",    "Favorite",
    "History",    "Analysis", "Proxy",     "Web",       "Search",  "DenyURL",
    "Permission", "Other",    "Items",     "File",      "Layered", "Theme",
};
static_assert(std::size(kConfigTreePageNames) == kConfigTreePageCount);
inline constexpr std::string_view kConfigTreeKeyPrefix = "Tree";

// ---- The four trees of the tool panel, renamed by "Menu" keys of the same name.

enum ToolPanelTree : int {
  kToolPanelFavorite,
  kToolPanelHistory,
  kToolPanelAnalysis,
  kToolPanelProxy,
  kToolPanelTreeCount,
};

inline constexpr const auto& kToolPanelTreeNames = kToolPageNames;
static_assert(std::size(kToolPanelTreeNames) == kToolPanelTreeCount);

// Every text above as the current theme gives it. A fresh object holds the built-in texts; Load
// reads the whole theme, and the Load... parts re-read what one page of the theme editor applies.
class TThemeTexts {
 public:
  TThemeTexts();

  void Load(std::string_view themeFile);
  void LoadAuthor(std::string_view themeFile);
  // The tool-panel tree names and the file-history caption: they go with the menus.
  void LoadMenuTexts(std::string_view themeFile);
  void LoadButtonTips(std::string_view themeFile);
  // The labels and the configuration dialog's tree page names.
  void LoadControlLabels(std::string_view themeFile);
  void LoadMessages(std::string_view themeFile);

  const std::string& Title() const { return title_; }
  const std::string& Author() const { return author_; }
  // "Theme: <title> by <author>", as the About box shows it.
  std::string AboutText() const;

  const std::string& ToolPanelTreeName(ToolPanelTree tree) const { return treeNames_[tree]; }
  const std::string& FileHistoryCaption() const { return fileHistoryCaption_; }
  std::span<const std::string> ButtonTips(ButtonGroup group) const;
  const std::string& Label(ControlLabel label) const { return labels_[label]; }
  const std::string& ConfigPageName(ConfigTreePage page) const { return pageNames_[page]; }
  const std::string& TabSessionLabel(int option) const { return sessionLabels_[option]; }
  // Decoded, "%1" still in place.
  const std::string& Message(ThemeMessage message) const { return messages_[message]; }

 private:
  std::string title_;
  std::string author_;
  std::array<std::string, kToolPanelTreeCount> treeNames_;
  std::string fileHistoryCaption_;
  std::array<std::vector<std::string>, kButtonGroupCount> buttonTips_;
  std::array<std::string, kControlLabelCount> labels_;
  std::array<std::string, kConfigTreePageCount> pageNames_;
  std::array<std::string, kTabSessionLabelCount> sessionLabels_;
  std::array<std::string, kThemeMessageCount> messages_;
};

}  // namespace zelvora
