#pragma once
// The search request that the tray click, the hotkey and the menu command
// all run, as an ordered sequence of steps over ISearchHost.
#include <string>
#include <string_view>

namespace snq {

// The Settings window's choices that every request reads.
struct SearchChoices {
    std::u16string addressTemplate; // empty: the built-in Google address
    bool openAddresses = false;     // a copied web address is opened as it is
};

// The address a request opens for `text` (the clipboard as read, at most
// `limit` + kAddressSlack long): the web address it is (when that is
// chosen), else the template's address (a template that cannot be used
// counts as none), at most `limit` long.
std::u16string AddressFor(const SearchChoices& choices, std::u16string_view code,
                          std::u16string_view text, std::size_t limit);

class ISearchHost {
public:
    virtual ~ISearchHost() = default;
    // The English name of the user's language, as read at start.
    virtual std::u16string LanguageEnglish() = 0;
    // Asks the window focused in the GUI thread to copy its selection.
    virtual void SendCopyToFocus() = 0;
    // Reads the browser mode from the registry (may raise).
    virtual void GetSettings() = 0;
    virtual bool UseInternetExplorer() = 0;
    // The Settings window's choices, as GetSettings has just read them.
    virtual SearchChoices Choices() = 0;
    // The longest address that the way of opening it (as the settings just
    // read chose) takes.
    virtual std::size_t AddressLimit() = 0;
    // The clipboard's text, at most its first `limit` UTF-16 units (may
    // raise "Cannot open clipboard").
    virtual std::u16string ReadClipboardText(std::size_t limit) = 0;
    // "Snapquery: No Text in Clipboard", modal.
    virtual void ShowNoText() = 0;
    virtual void OpenInIE(std::u16string_view address) = 0;
    virtual void OpenInDefaultBrowser(std::u16string_view address) = 0;
};

// Runs one request. `lastSearchAddress` receives the address as soon as it
// is composed, also when the request then ends with the no-text message.
void RunSearchRequest(ISearchHost& host, std::u16string& lastSearchAddress);

} // namespace snq
