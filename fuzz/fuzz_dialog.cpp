// The message dialog's Ctrl+C framing, its layout over any metrics, and the
// "Show clipboard text" message over any text.
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "app/MainTexts.h"
#include "framework/ErrorText.h"
#include "framework/MessageDialog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 + 9 * 4) return 0;
    const snq::TMsgDlgButtons buttons = (data[0] | (data[1] << 8)) & 0x7FF;
    int metrics[9];
    std::memcpy(metrics, data + 2, sizeof(metrics));
    const std::u16string text = Utf16Of(data + 38, size - 38);
    const std::u16string title = text.substr(0, text.size() / 3);

    const auto order = snq::ButtonsInOrder(buttons);
    const std::u16string copy = snq::MessageFormCopyText(title, text, order);
    if (copy.size() < text.size() + title.size()) std::abort();

    snq::MessageFormMetrics m{metrics[0], metrics[1], metrics[2], metrics[3], metrics[4],
                              metrics[5],  (metrics[6] & 1) != 0, metrics[7], metrics[8]};
    const snq::MessageFormLayout layout = snq::LayoutMessageForm(m);
    if (layout.clientWidth < 0 || layout.clientHeight < 0) std::abort();

    const std::u16string shown = snq::ClipboardMessage(text);
    if (shown.size() > snq::kShownTextLimit + 64) std::abort();
    snq::ErrorBoxText(text);
    snq::DefaultButtonResult(buttons);
    snq::CancelButtonResult(buttons);
    return 0;
}
