#include "search/SearchRequest.h"

#include "framework/Trace.h"
#include "search/SearchAddress.h"
#include "search/SearchTemplate.h"

namespace snq {

std::u16string AddressFor(const SearchChoices& choices, std::u16string_view code,
                          std::u16string_view text, std::size_t limit) {
    // A text that filled the read may go on: no single web address then.
    if (choices.openAddresses && text.size() < limit + kAddressSlack)
        if (auto address = WebAddressIn(text, limit)) return *address;
    // A template that cannot be used is the built-in address.
    const bool usable = TemplateUsable(choices.searchTemplate, limit);
    return ExpandTemplate(usable ? choices.searchTemplate : u"", code, text, limit);
}

void RunSearchRequest(ISearchHost& host, std::u16string& lastSearchAddress) {
    const std::u16string code = GetLanguageCode(host.LanguageEnglish());
    host.SendCopyToFocus();
    const SearchChoices choices = host.ReadChoices();
    // The address comes from the first read, the emptiness test from the
    // second; neither needs more of a long text than can reach the address
    // (and the white space that may stand around a web address). A browser
    // of the user's own takes as long an address as the default browser.
    const bool automation = choices.useInternetExplorer && choices.browser.empty();
    const std::size_t limit = host.AddressLimit(automation);
    const std::u16string first = host.ReadClipboardText(limit + kAddressSlack);
    lastSearchAddress = AddressFor(choices, code, first, limit);
    if (host.ReadClipboardText(1).empty()) {
        host.ShowNoText();
        return;
    }
    if (!choices.browser.empty() || (choices.privateWindow && !automation)) {
        host.OpenInBrowser(choices.browser, choices.privateWindow, lastSearchAddress);
    } else if (automation) {
        if (choices.privateWindow) Trace(u"no private window: Internet Explorer opens by automation");
        host.OpenInIE(lastSearchAddress);
    } else {
        host.OpenInDefaultBrowser(lastSearchAddress);
    }
}

} // namespace snq
