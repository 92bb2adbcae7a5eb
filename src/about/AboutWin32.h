#pragma once
// The About window, created once at start and shown modally from the menu.
#include <memory>

#include "about/SkinLabelsWin32.h"
#include "framework/ComWin32.h"
#include "framework/ControlsWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/FormWin32.h"

namespace snq {

class TAboutBox final : public TCustomForm {
    // What the controls use comes first, so that it goes after them.
    UniqueHfont formFont_;
    UniqueImageList glyphs_;
    ComApartment com_; // for the shell, from the first link opened
    bool (*highContrast_)();
    bool contrast_ = false;

public:
    // `highContrast` tells whether the user's theme is a high-contrast one.
    explicit TAboutBox(bool (*highContrast)() = HighContrastOn);

    // Each control goes before the one it stands on.
    std::unique_ptr<TPanel> Panel1;
    std::unique_ptr<TShadowLabel> ShadowLabel1;
    std::unique_ptr<TSkinLabel> SkinLabel1;
    std::unique_ptr<TSkinLabel> Copyright;
    std::unique_ptr<TSkinLabel> Comments;
    std::unique_ptr<TImage> Image1;
    UniqueHwnd SkinBitBtn1;

    void CommentsClick(TGraphicWindow& sender);
    void CommentsMouseMove(TGraphicWindow& sender, int x, int y);
    void CommentsMouseLeave(TGraphicWindow& sender);
    void Image1Click(TGraphicWindow& sender);
    void Image1MouseMove(TGraphicWindow& sender, int x, int y);
    void Image1MouseLeave(TGraphicWindow& sender);

protected:
    // The controls are made on the first showing: most runs never open the
    // window, and its picture, fonts and glyphs need not be loaded for them.
    void BeforeShow() override;
    void DpiChanged() override;
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void CreateOkButton();
    // The fonts (the message font's face, grown with it) and the colours:
    // in high contrast, the system's without the shadow; else the design's.
    void ApplyLook();
    void OpenHint(const TGraphicWindow& sender);
};

} // namespace snq
