#pragma once
// The tray shell's user-visible texts, and how clipboard text is shown.
#include <string>
#include <string_view>

namespace snq {

inline constexpr std::u16string_view kApplicationTitle = u"Snapquery 1.5";
inline constexpr std::u16string_view kMainFormCaption = u"SNQ";
inline constexpr std::u16string_view kTrayHint =
    u"Snapquery 1.5\r\nClick or press Ctrl+g to send clpiboard text to google search\r\n"
    u"Right click for menu";
inline constexpr std::u16string_view kBalloonHint =
    u"SNQ 1.5 is running minimized\r\nClick or press Ctrl+g to send clipboard text to google "
    u"search\r\nRight click for menu";
inline constexpr std::u16string_view kBalloonTitle = u"Snapquery 1.5";
inline constexpr int kBalloonTimeout = 3500;
inline constexpr std::u16string_view kAlreadyRunning = u"SNQ is already running";
inline constexpr std::u16string_view kNoTextInClipboard = u"No text in clipboard";
inline constexpr std::u16string_view kSearchNoText = u"Snapquery: No Text in Clipboard";

// The menu's captions, by position.
inline constexpr std::u16string_view kMenuCaptions[] = {
    u"Use Default Browser", u"Auto Run at Startup", u"-", u"Show clipboard text",
    u"Clear Clipboard", u"-", u"Snapquery (CTRL+G)", u"-", u"About SNQ", u"-", u"Exit SNQ",
};

// How much of the clipboard text "Show clipboard text" shows at most.
inline constexpr std::size_t kShownTextLimit = 4000;

// The message of "Show clipboard text" for `text`: "Current clipboard text: "
// and the text, cut to kShownTextLimit characters plus "…" when longer, or
// "No text in clipboard" when it is empty.
std::u16string ClipboardMessage(std::u16string_view text);

} // namespace snq
