#include "about/AboutWin32.h"

#include <shellapi.h>

#include <cstdlib>

#include "about/AboutTexts.h"
#include "about/Logo.h"
#include "framework/Text.h"
#include "framework/Texts.h"
#include "framework/ApplicationWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "resource.h"

namespace snq {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The panel's width and the room kept at its sides, in 96-DPI units.
constexpr int kAboutPanelWidth = 281;
constexpr int kAboutMargin = 4;
// The height the design's sizes were made for: Windows' own message font,
// 9 points at 96 DPI. A larger one grows the window with it.
constexpr int kDesignFontHeight = 12;

// A control's place in its parent.
RECT BoundsOf(const TGraphicWindow& control) {
    RECT r{};
    ::GetWindowRect(control.Handle(), &r);
    ::MapWindowPoints(nullptr, ::GetParent(control.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

template <class F> auto Bind(TAboutBox* self, F handler) {
    return [self, handler](auto&&... args) { (self->*handler)(std::forward<decltype(args)>(args)...); };
}

// One 18 x 18 half of the glyph as a 32-bit bitmap whose olive background
// is fully transparent.
UniqueHbitmap GlyphHalf(const std::vector<std::uint8_t>& glyph, int half) {
    void* bits = nullptr;
    UniqueHbitmap bitmap = CreateDib32(nullptr, kGlyphSize, kGlyphSize, bits);
    if (!bitmap) return bitmap;
    const Rgb olive = ToRgb(clOlive);
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x) {
            const std::uint8_t* p =
                &glyph[static_cast<std::size_t>((y * kGlyphSize * 2 + half * kGlyphSize + x) * 3)];
            std::uint8_t* q = out + (y * kGlyphSize + x) * 4;
            const bool background = p[0] == olive.b && p[1] == olive.g && p[2] == olive.r;
            q[0] = background ? 0 : p[0];
            q[1] = background ? 0 : p[1];
            q[2] = background ? 0 : p[2];
            q[3] = background ? 0 : 255;
        }
    return bitmap;
}

} // namespace

TAboutBox::TAboutBox(bool (*highContrast)())
    : TCustomForm(L"TAboutBox", kAboutCaption, kStyle, kExStyle, 298, 253, FormWindow::OnFirstShow),
      highContrast_(highContrast) {}

void TAboutBox::BeforeShow() {
    if (!Panel1) CreateControls();
    // The texts in the interface's language of now, laid out for them.
    SkinLabel1->SetCaption(ToWide(Tr(TextId::AboutDescription)));
    Copyright->SetCaption(ToWide(Tr(TextId::AboutCopyright)));
    ::SetWindowTextW(SkinBitBtn1.get(), ToWide(Tr(TextId::CommonOk)).c_str());
    DpiChanged();
}

void TAboutBox::CreateControls() {
    Panel1 = std::make_unique<TPanel>(Handle(), 0, 0, 0, 0);
    HWND panel = Panel1->Handle();

    ShadowLabel1 = std::make_unique<TShadowLabel>(panel, 0, 0);
    ShadowLabel1->SetCaption(std::wstring(kAboutCaption));
    SkinLabel1 = std::make_unique<TSkinLabel>(panel, 0, 0);
    Copyright = std::make_unique<TSkinLabel>(panel, 0, 0);
    Comments = std::make_unique<TSkinLabel>(panel, 0, 0);
    Comments->WordWrap = true;
    Comments->SetTabStop();
    Comments->SetCaption(std::wstring(kMakerAddress));
    Comments->Hint = kMakerLink;
    Comments->OnClick = Bind(this, &TAboutBox::CommentsClick);
    Comments->OnMouseMove = Bind(this, &TAboutBox::CommentsMouseMove);
    Comments->OnMouseLeave = Bind(this, &TAboutBox::CommentsMouseLeave);

    Image1 = std::make_unique<TImage>(panel, 0, 0, 0, 0);
    Image1->Hint = kMakerLink;
    Image1->OnClick = Bind(this, &TAboutBox::Image1Click);
    Image1->OnMouseMove = Bind(this, &TAboutBox::Image1MouseMove);
    Image1->OnMouseLeave = Bind(this, &TAboutBox::Image1MouseLeave);

    CreateOkButton();
}

void TAboutBox::ApplyLook() {
    const LOGFONTW message = MessageFontFor(kDefaultDpi);
    SetTextScale(MulDiv(std::abs(message.lfHeight), 1000, kDesignFontHeight));
    contrast_ = highContrast_();
    const TColor text = contrast_ ? clWindowText : clBlack;
    auto font = [&](int height, bool bold, TColor color) {
        return TFont{message.lfFaceName, MulDiv(height, TextScale(), 1000), bold, color};
    };
    ShadowLabel1->Font() = font(-19, true, text);
    SkinLabel1->Font() = font(-11, false, text);
    Copyright->Font() = font(-11, false, clWindowText);
    Comments->Font() = font(-11, false, contrast_ ? clHotLight : clWindowText);
    ShadowLabel1->Shadow.Mode = contrast_ ? TShadowMode::smNone : TShadowMode::smSkin1;
    Panel1->Color = Image1->Color = contrast_ ? clWindow : clBtnFace;
    for (TSkinCustomLabel* label : std::initializer_list<TSkinCustomLabel*>{
             ShadowLabel1.get(), SkinLabel1.get(), Copyright.get(), Comments.get()}) {
        label->Transparent = !contrast_;
        label->Color = clWindow;
    }
}

void TAboutBox::DpiChanged() {
    if (!Panel1) return; // made on the first showing, at the DPI of then
    ApplyLook();
    // The design's positions and sizes, in 96-DPI units. A label is placed,
    // then given its DPI, which measures it anew (auto-size).
    // What stands below a wrapped text moves down by `extra` units.
    int extra = 0;
    auto place = [this, &extra](TGraphicWindow& control, int left, int top, int width, int height) {
        control.SetBounds(Scale(left), Scale(top + extra), Scale(width), Scale(height));
        control.SetDpi(Dpi());
    };
    // A text longer than the design's (another language's) is centred in
    // the panel, and wrapped when it is wider than the panel.
    auto placeText = [this, &extra, &place](TSkinCustomLabel& label, int left, int top) {
        label.WordWrap = false;
        place(label, left, top, 0, 0);
        const RECT shown = BoundsOf(label);
        const int width = shown.right - shown.left, height = shown.bottom - shown.top;
        const int room = Scale(kAboutPanelWidth - 2 * kAboutMargin);
        if (width > room) {
            label.WordWrap = true;
            label.SetBounds(Scale(kAboutMargin), shown.top, room, height);
            label.AdjustBounds();
            const RECT wrapped = BoundsOf(label);
            extra += MulDiv(MulDiv(wrapped.bottom - wrapped.top - height, kDefaultDpi, Dpi()), 1000, TextScale()) + 1;
        } else if (shown.left + width > Scale(kAboutPanelWidth - kAboutMargin)) {
            label.SetBounds((Scale(kAboutPanelWidth) - width) / 2, shown.top, width, height);
        }
    };
    place(*ShadowLabel1, 23, 1, 0, 0);
    placeText(*SkinLabel1, 14, 32);
    placeText(*Copyright, 69, 51);
    place(*Comments, 80, 67, 109, 13);
    place(*Image1, 66, 85, 145, 105);
    Panel1->SetBounds(Scale(9), Scale(8), Scale(kAboutPanelWidth), Scale(198 + extra));
    Panel1->SetDpi(Dpi());
    SetClientHeight(253 + extra);
    // The logo drawn anew for this DPI: sharp, not scaled.
    void* bits = nullptr;
    const int width = Scale(kLogoWidth), height = Scale(kLogoHeight);
    if (UniqueHbitmap logo = CreateDib32(nullptr, width, height, bits)) {
        const std::vector<std::uint32_t> pixels = DrawLogo(width, height);
        std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
        Image1->SetPicture(std::move(logo));
    }
    formFont_ = Copyright->Font().Create(Dpi());
    // The first tab stop: the window opens with the focus on it.
    ::SetWindowPos(SkinBitBtn1.get(), HWND_TOP, Scale(110), Scale(214 + extra), Scale(75), Scale(33),
                   SWP_NOACTIVATE);
    ::SendMessageW(SkinBitBtn1.get(), WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), TRUE);
}

void TAboutBox::CreateOkButton() {
    // A plain bitmap button of the OK kind: the default button, modal
    // result OK, with the check glyph (grey when disabled).
    SkinBitBtn1.reset(::CreateWindowExW(0, L"BUTTON", L"OK",
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                                        0, 0, 0, Handle(), reinterpret_cast<HMENU>(IDOK),
                                        Application().Instance(), nullptr));
    const auto glyph = DrawOkGlyph();
    glyphs_.reset(Comctl().ImageList_Create(kGlyphSize, kGlyphSize, ILC_COLOR32, 6, 0));
    UniqueHbitmap normal = GlyphHalf(glyph, 0), disabled = GlyphHalf(glyph, 1);
    // Normal, hot, pressed, disabled, defaulted, stylus-hot.
    for (HBITMAP image : {normal.get(), normal.get(), normal.get(), disabled.get(), normal.get(),
                          normal.get()})
        Comctl().ImageList_Add(glyphs_.get(), image, nullptr);
    BUTTON_IMAGELIST list{glyphs_.get(), {4, 0, 4, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    ::SendMessageW(SkinBitBtn1.get(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
}

void TAboutBox::OpenHint(const TGraphicWindow& sender) {
    // The hint holds the full address; a failed start is ignored.
    com_.Enter();
    ::ShellExecuteW(Application().Handle(), L"Open", sender.Hint.c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

// Bound to the address label and the picture only.
void TAboutBox::CommentsClick(TGraphicWindow& sender) { OpenHint(sender); }

void TAboutBox::Image1Click(TGraphicWindow& sender) { OpenHint(sender); }

void TAboutBox::CommentsMouseMove(TGraphicWindow&, int, int) {
    Comments->Cursor = crHandPoint;
    Comments->Font().Color = contrast_ ? clHotLight : clBlue;
    Comments->Invalidate();
}

void TAboutBox::CommentsMouseLeave(TGraphicWindow&) {
    Comments->Cursor = crDefault;
    // Black, not the window-text colour it had.
    Comments->Font().Color = contrast_ ? clHotLight : clBlack;
    Comments->Invalidate();
}

void TAboutBox::Image1MouseMove(TGraphicWindow&, int, int) { Image1->Cursor = crHandPoint; }

void TAboutBox::Image1MouseLeave(TGraphicWindow&) { Image1->Cursor = crDefault; }

LRESULT TAboutBox::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) SetModalResult(mrOk);
        if (LOWORD(wParam) == IDCANCEL) SetModalResult(mrCancel);
        return 0;
    default:
        return TCustomForm::HandleMessage(window, message, wParam, lParam);
    }
}

} // namespace snq
