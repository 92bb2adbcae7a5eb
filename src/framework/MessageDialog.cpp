#include "framework/MessageDialog.h"

#include <algorithm>
#include <array>

#include "framework/Scale.h"

namespace snq {

namespace {

const std::array<ButtonInfo, 11> kButtons{{
    {TMsgDlgBtn::mbYes, TextId::ButtonYes, 6},
    {TMsgDlgBtn::mbNo, TextId::ButtonNo, 7},
    {TMsgDlgBtn::mbOK, TextId::CommonOk, 1},
    {TMsgDlgBtn::mbCancel, TextId::CommonCancel, 2},
    {TMsgDlgBtn::mbAbort, TextId::ButtonAbort, 3},
    {TMsgDlgBtn::mbRetry, TextId::ButtonRetry, 4},
    {TMsgDlgBtn::mbIgnore, TextId::ButtonIgnore, 5},
    {TMsgDlgBtn::mbAll, TextId::ButtonAll, 8},
    {TMsgDlgBtn::mbNoToAll, TextId::ButtonNoToAll, 9},
    {TMsgDlgBtn::mbYesToAll, TextId::ButtonYesToAll, 10},
    {TMsgDlgBtn::mbHelp, TextId::ButtonHelp, 0},
}};

const std::array<KindInfo, 5> kKinds{{
    {TextId::TitleWarning, TMsgIcon::Exclamation, TTaskIcon::Warning},
    {TextId::TitleError, TMsgIcon::Hand, TTaskIcon::Error},
    {TextId::TitleInformation, TMsgIcon::Asterisk, TTaskIcon::Information},
    {TextId::TitleConfirm, TMsgIcon::Question, TTaskIcon::Information},
    {TextId{}, TMsgIcon::None, TTaskIcon::None},
}};

bool Has(TMsgDlgButtons set, TMsgDlgBtn b) { return (set & Buttons(b)) != 0; }

} // namespace

const ButtonInfo& ButtonOf(TMsgDlgBtn button) { return kButtons[static_cast<unsigned>(button)]; }

std::vector<ButtonInfo> ButtonsInOrder(TMsgDlgButtons buttons) {
    std::vector<ButtonInfo> out;
    for (const ButtonInfo& info : kButtons)
        if (Has(buttons, info.button)) out.push_back(info);
    return out;
}

int DefaultButtonResult(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbYes, TMsgDlgBtn::mbRetry})
        if (Has(buttons, b)) return ButtonOf(b).result;
    return -1;
}

int CancelButtonResult(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK})
        if (Has(buttons, b)) return ButtonOf(b).result;
    return -1;
}

const KindInfo& KindOf(TMsgDlgType kind) { return kKinds[static_cast<unsigned>(kind)]; }

std::u16string ClassicTitle(TMsgDlgType kind, std::u16string_view applicationTitle) {
    if (kind == TMsgDlgType::mtCustom) return std::u16string(applicationTitle);
    return Tr(KindOf(kind).title);
}

MessageFormLayout LayoutMessageForm(const MessageFormMetrics& raw) {
    // Measurements are never negative and never larger than a screen; keep
    // any others in that range so that no size can overflow or go negative.
    auto bounded = [](int v) { return std::clamp(v, 0, 1 << 16); };
    const MessageFormMetrics m{bounded(raw.charWidth),   bounded(raw.charHeight),
                               bounded(raw.textWidth),   bounded(raw.textHeight),
                               bounded(raw.widestCaption), std::clamp(raw.buttonCount, 0, 11),
                               raw.hasIcon,              bounded(raw.screenWidth),
                               bounded(raw.screenHeight),  bounded(raw.iconSize),
                               bounded(raw.captionPadding)};
    const int horzMargin = MulDiv(8, m.charWidth, 4);
    const int vertMargin = MulDiv(8, m.charHeight, 8);
    const int horzSpacing = MulDiv(10, m.charWidth, 4);
    const int vertSpacing = MulDiv(10, m.charHeight, 8);
    const int buttonWidth = std::max(MulDiv(50, m.charWidth, 4), m.widestCaption + m.captionPadding);
    const int buttonHeight = MulDiv(14, m.charHeight, 8);
    const int buttonSpacing = MulDiv(4, m.charWidth, 4);

    int iconTextWidth = m.textWidth;
    int iconTextHeight = m.textHeight;
    if (m.hasIcon) {
        iconTextWidth += m.iconSize + horzSpacing;
        iconTextHeight = std::max(iconTextHeight, m.iconSize);
    }
    const int groupWidth =
        m.buttonCount > 0 ? buttonWidth * m.buttonCount + buttonSpacing * (m.buttonCount - 1) : 0;

    MessageFormLayout out;
    out.clientWidth = std::max(iconTextWidth, groupWidth) + horzMargin * 2;
    out.clientHeight = iconTextHeight + buttonHeight + vertSpacing + vertMargin * 2;
    out.left = (m.screenWidth - out.clientWidth) / 2;
    out.top = (m.screenHeight - out.clientHeight) / 2;
    if (m.hasIcon) out.icon = {horzMargin, vertMargin, m.iconSize, m.iconSize};
    out.text = {iconTextWidth - m.textWidth + horzMargin, vertMargin, m.textWidth, m.textHeight};
    int x = (out.clientWidth - groupWidth) / 2;
    for (int i = 0; i < m.buttonCount; ++i) {
        out.buttons.push_back({x, iconTextHeight + vertMargin + vertSpacing, buttonWidth,
                               buttonHeight});
        x += buttonWidth + buttonSpacing;
    }
    return out;
}

std::u16string MessageFormCopyText(std::u16string_view title, std::u16string_view message,
                                   const std::vector<ButtonInfo>& buttons) {
    const std::u16string rule = std::u16string(27, u'-') + u"\r\n";
    std::u16string captions;
    for (const ButtonInfo& b : buttons) {
        for (char16_t c : Tr(b.caption))
            if (c != u'&') captions += c;
        captions += u"   ";
    }
    return rule + std::u16string(title) + u"\r\n" + rule + std::u16string(message) + u"\r\n" +
           rule + captions + u"\r\n" + rule;
}

} // namespace snq
