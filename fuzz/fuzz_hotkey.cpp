// The hotkey text parser and formatter on arbitrary text and values.
#include <cstdlib>

#include "FuzzInput.h"
#include "support/FakeKeyboard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    snq::testing::FakeKeyboard keyboard;
    snq::THotKeyText text(keyboard);
    text.Startup();
    const std::u16string input = Utf16Of(data, size);
    for (bool local : {false, true}) {
        const std::uint32_t value = text.ParseHotKey(input, local);
        // Only a key and the four modifier bits can come out of a parse.
        if (value & ~0x1E0FFu) std::abort();
        if (value != 0 && (value & 0xFF) == 0) std::abort();
        text.FormatHotKey(value, local);
    }
    if (size >= 4) {
        const std::uint32_t raw = data[0] | (data[1] << 8) | (data[2] << 16) |
                                  (static_cast<std::uint32_t>(data[3]) << 24);
        text.FormatHotKey(raw, size % 2 == 0);
        snq::UnpackHotKey(raw);
    }
    text.Shutdown();
    return 0;
}
