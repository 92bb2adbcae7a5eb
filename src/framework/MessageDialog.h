#pragma once
// The message dialog: kinds, buttons, their order, captions and results, the
// default and cancel buttons, the layout of the classic rendering and the
// text that Ctrl+C copies from it. Platform-free; MessageDialogWin32.cpp
// renders it as a task dialog or as the classic form.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Texts.h"

namespace snq {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// In the order in which buttons always appear.
enum class TMsgDlgBtn {
    mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};

using TMsgDlgButtons = std::uint32_t; // bit (1 << button)
constexpr TMsgDlgButtons Buttons(TMsgDlgBtn b) { return 1u << static_cast<unsigned>(b); }

enum class TMsgIcon { None, Exclamation, Hand, Asterisk, Question };
enum class TTaskIcon { None, Warning, Error, Information };

struct ButtonInfo {
    TMsgDlgBtn button;
    TextId caption;
    int result; // the modal result, also the task dialog's button id
};

const ButtonInfo& ButtonOf(TMsgDlgBtn button);
// The requested buttons in display order.
std::vector<ButtonInfo> ButtonsInOrder(TMsgDlgButtons buttons);
// OK if asked for, else Yes, else Retry; -1 when none of them is there.
int DefaultButtonResult(TMsgDlgButtons buttons);
// Cancel if asked for, else No, else OK; -1 when none of them is there.
int CancelButtonResult(TMsgDlgButtons buttons);

struct KindInfo {
    TextId title;   // TextId{} for the custom kind
    TMsgIcon classicIcon;
    TTaskIcon taskIcon;
};
const KindInfo& KindOf(TMsgDlgType kind);
// The classic rendering's title: the kind's title, or the application title
// for the custom kind. The task dialog leaves the custom kind untitled.
// Titles and captions are in the interface's language (Tr).
std::u16string ClassicTitle(TMsgDlgType kind, std::u16string_view applicationTitle);

// Geometry of the classic message form, in pixels.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct MessageFormMetrics {
    int charWidth;       // X: width of the 52 letters A-Z a-z divided by 52
    int charHeight;      // Y: their height
    int textWidth;       // the text measured word-wrapped at half the screen width
    int textHeight;
    int widestCaption;   // widest requested button caption
    int buttonCount;
    bool hasIcon;
    int screenWidth;
    int screenHeight;
    int iconSize = 32;       // the icon's side, 32 at 96 DPI
    int captionPadding = 8;  // added to the widest caption, 8 at 96 DPI
};

struct MessageFormLayout {
    int clientWidth = 0, clientHeight = 0;
    int left = 0, top = 0; // of the client area, centred on the screen
    Rect icon, text;
    std::vector<Rect> buttons;
};

MessageFormLayout LayoutMessageForm(const MessageFormMetrics& m);

// What Ctrl+C in the classic form puts on the clipboard.
std::u16string MessageFormCopyText(std::u16string_view title, std::u16string_view message,
                                   const std::vector<ButtonInfo>& buttons);

} // namespace snq
