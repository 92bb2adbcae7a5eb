#include "search/SearchRequest.h"

#include "search/SearchAddress.h"

namespace snq {

void RunSearchRequest(ISearchHost& host, std::u16string& lastSearchAddress) {
    const std::u16string code = GetLanguageCode(host.LanguageEnglish());
    host.SendCopyToFocus();
    host.GetSettings();
    // The address comes from the first read, the emptiness test from the
    // second; neither needs more of a long text than can reach the address.
    const std::size_t limit = host.AddressLimit();
    const std::u16string first = host.ReadClipboardText(limit);
    lastSearchAddress = BuildSearchAddress(code, first, limit);
    if (host.ReadClipboardText(1).empty()) {
        host.ShowNoText();
        return;
    }
    if (host.UseInternetExplorer())
        host.OpenInIE(lastSearchAddress);
    else
        host.OpenInDefaultBrowser(lastSearchAddress);
}

} // namespace snq
