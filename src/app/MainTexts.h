#pragma once
// The tray shell's user-visible texts, and how clipboard text is shown.
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "Version.h"

namespace snq {

inline constexpr std::u16string_view kApplicationTitle = u"" SNQ_TITLE;
inline constexpr std::u16string_view kMainFormCaption = u"SNQ";
inline constexpr std::u16string_view kTrayHint =
    u"" SNQ_TITLE "\r\nClick or press Ctrl+g to send clpiboard text to google search\r\n"
    u"Right click for menu";
inline constexpr std::u16string_view kBalloonHint =
    u"" SNQ_SHORT_TITLE " is running minimized\r\nClick or press Ctrl+g to send clipboard text "
    u"to google search\r\nRight click for menu";
inline constexpr std::u16string_view kBalloonTitle = u"" SNQ_TITLE;
inline constexpr int kBalloonTimeout = 3500;
// The registered window message by which an installer asks the running
// program to exit; its application window answers 1.
inline constexpr wchar_t kExitRequestMessage[] = L"Snapquery.Exit";
inline constexpr std::u16string_view kAlreadyRunning = u"SNQ is already running";
inline constexpr std::u16string_view kNoTextInClipboard = u"No text in clipboard";
inline constexpr std::u16string_view kSearchNoText = u"Snapquery: No Text in Clipboard";

// The tray menu: each item's command and caption, in the menu's order. A
// separator ("-") has no command. This table is the one place that says
// what stands where.
enum class MenuCommand {
    None,
    UseDefaultBrowser,
    AutoRun,
    ShowClipboard,
    ClearClipboard,
    Search,
    SearchWith, // the profiles' submenu, shown when there are any
    Settings,
    About,
    Exit,
};

struct MenuEntry {
    MenuCommand command;
    std::u16string_view caption;
};

inline constexpr MenuEntry kMenu[] = {
    {MenuCommand::UseDefaultBrowser, u"Use Default Browser"},
    {MenuCommand::AutoRun, u"Auto Run at Startup"},
    {MenuCommand::None, u"-"},
    {MenuCommand::ShowClipboard, u"Show clipboard text"},
    {MenuCommand::ClearClipboard, u"Clear Clipboard"},
    {MenuCommand::None, u"-"},
    {MenuCommand::Search, u"Snapquery (CTRL+G)"},
    {MenuCommand::SearchWith, u"Search with"},
    {MenuCommand::None, u"-"},
    {MenuCommand::Settings, u"Settings..."},
    {MenuCommand::About, u"About SNQ"},
    {MenuCommand::None, u"-"},
    {MenuCommand::Exit, u"Exit SNQ"},
};

// The position of the item of `command`.
constexpr std::size_t MenuIndexOf(MenuCommand command) {
    std::size_t index = 0;
    while (index < std::size(kMenu) && kMenu[index].command != command) ++index;
    return index;
}

// The shell's limits: the tip, a balloon's text and its title.
inline constexpr std::size_t kTipLimit = 127;
inline constexpr std::size_t kBalloonTextLimit = 255;
inline constexpr std::size_t kBalloonTitleLimit = 63;

// What the icon's tip and its balloon say about the search: the hotkey as
// the formatter writes it ("" for none), whether another program holds it
// (the program then runs without it), and where a search goes
// (SearchTarget). With Ctrl+G in force and Google they are kTrayHint and
// kBalloonHint. A target too long for the shell's limit is cut.
std::u16string TrayHint(std::u16string_view hotKeyText, bool taken, std::u16string_view target);
std::u16string BalloonHint(std::u16string_view hotKeyText, bool taken, std::u16string_view target);
// The balloon at start when another program holds the hotkey.
std::u16string HotKeyTakenNotice(std::u16string_view hotKeyText);
// Where a search with `searchTemplate` goes: "google search" (none),
// "Bing search", "DuckDuckGo search", or a custom address's host.
std::u16string SearchTarget(std::u16string_view searchTemplate);

// The search item's caption for the hotkey in force, as the formatter
// writes it ("Ctrl+Shift+G"): "Snapquery (CTRL+SHIFT+G)", or "Snapquery"
// without a hotkey.
std::u16string SearchCaption(std::u16string_view hotKeyText);

// How much of the clipboard text "Show clipboard text" shows at most.
inline constexpr std::size_t kShownTextLimit = 4000;

// The message of "Show clipboard text" for `text`: "Current clipboard text: "
// and the text, cut to kShownTextLimit characters plus "…" when longer, or
// "No text in clipboard" when it is empty.
std::u16string ClipboardMessage(std::u16string_view text);

} // namespace snq
