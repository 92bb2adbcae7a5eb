#pragma once
// The tray shell's user-visible texts, and how clipboard text is shown.
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "Version.h"
#include "framework/Texts.h"

namespace snq {

inline constexpr std::u16string_view kApplicationTitle = u"" SNQ_TITLE;
inline constexpr std::u16string_view kMainFormCaption = u"SNQ";
// WM_COPYDATA's mark on a search from the command line ("SNQS").
inline constexpr unsigned long kCommandRequestData = 0x534E5153;
inline constexpr std::u16string_view kBalloonTitle = u"" SNQ_TITLE;
inline constexpr int kBalloonTimeout = 3500;
// The registered window message by which an installer asks the running
// program to exit; its application window answers 1.
inline constexpr wchar_t kExitRequestMessage[] = L"Snapquery.Exit";

// The tray menu: each item's command, in the menu's order; a separator has
// none. This table is the one place that says what stands where.
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

inline constexpr MenuCommand kMenu[] = {
    MenuCommand::UseDefaultBrowser, MenuCommand::AutoRun,    MenuCommand::None,
    MenuCommand::ShowClipboard,     MenuCommand::ClearClipboard, MenuCommand::None,
    MenuCommand::Search,            MenuCommand::SearchWith, MenuCommand::None,
    MenuCommand::Settings,          MenuCommand::About,      MenuCommand::None,
    MenuCommand::Exit,
};

// An item's caption in the interface's language: "-" for a separator; the
// search item's is SearchCaption's.
std::u16string MenuCaption(MenuCommand command);

// The position of the item of `command`.
constexpr std::size_t MenuIndexOf(MenuCommand command) {
    std::size_t index = 0;
    while (index < std::size(kMenu) && kMenu[index] != command) ++index;
    return index;
}

// The shell's limits: the tip, a balloon's text and its title.
inline constexpr std::size_t kTipLimit = 127;
inline constexpr std::size_t kBalloonTextLimit = 255;
inline constexpr std::size_t kBalloonTitleLimit = 63;

// What the icon's tip and its balloon say about the search: the hotkey as
// the formatter writes it ("" for none), whether another program holds it
// (the program then runs without it), and where a search goes
// (SearchTarget). A target too long for the shell's limit is cut.
std::u16string TrayHint(std::u16string_view hotKeyText, bool taken, std::u16string_view target);
std::u16string BalloonHint(std::u16string_view hotKeyText, bool taken, std::u16string_view target);
// The balloon at start when another program holds the hotkey.
std::u16string HotKeyTakenNotice(std::u16string_view hotKeyText);
// Where a search with `searchTemplate` goes: "google search" (none),
// "Bing search", "DuckDuckGo search", or a custom address's host.
std::u16string SearchTarget(std::u16string_view searchTemplate);

// The search item's caption for the hotkey in force, as the formatter
// writes it ("Ctrl+Shift+G"): "Snapquery (CTRL+SHIFT+G)", or "Snapquery"
// without a hotkey; its access key is the first letter no other item has.
std::u16string SearchCaption(std::u16string_view hotKeyText);

// A menu caption as words in a message: without its access key.
std::u16string WithoutAccessKey(std::u16string_view caption);

// How much of the clipboard text "Show clipboard text" shows at most.
inline constexpr std::size_t kShownTextLimit = 4000;

// The message of "Show clipboard text" for `text`: "Current clipboard text: "
// and the text, cut to kShownTextLimit characters plus "…" when longer, or
// "No text in clipboard" when it is empty (in the interface's language).
std::u16string ClipboardMessage(std::u16string_view text);

} // namespace snq
