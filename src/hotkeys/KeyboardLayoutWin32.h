#pragma once
#include "hotkeys/HotKeyText.h"

namespace snq {

class Win32KeyboardLayout final : public IKeyboardLayout {
public:
    unsigned ScanCode(unsigned key) override;
    unsigned ScanCode(unsigned key, LayoutHandle layout) override;
    std::u16string KeyName(long keyParameter) override;
    LayoutHandle CurrentLayout() override;
    void Activate(LayoutHandle layout) override;
    std::vector<LayoutHandle> LoadedLayouts() override;
    LayoutHandle LoadUsLayout() override;
    void Unload(LayoutHandle layout) override;
    bool SameText(std::u16string_view a, std::u16string_view b) override;
    int TypeKey(LayoutHandle layout, unsigned key, bool ctrlAlt, bool shift, std::u16string& typed) override;
    std::u16string LayoutName(LayoutHandle layout) override;
};

} // namespace snq
