#include "search/SearchRequest.h"

#include "search/SearchAddress.h"

namespace snq {

void RunSearchRequest(ISearchHost& host, std::u16string& lastSearchAddress) {
    const std::u16string code = GetLanguageCode(host.LanguageEnglish());
    host.SendCopyToFocus();
    host.GetSettings();
    // The address comes from the first read, the emptiness test from the
    // second.
    const std::u16string first = host.ReadClipboardText();
    lastSearchAddress = BuildSearchAddress(code, first);
    if (host.ReadClipboardText().empty()) {
        host.ShowNoText();
        return;
    }
    if (host.UseInternetExplorer())
        host.OpenInIE(lastSearchAddress);
    else
        host.OpenInDefaultBrowser(lastSearchAddress);
}

} // namespace snq
