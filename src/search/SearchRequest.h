#pragma once
// The search request that the tray click, the hotkey and the menu command
// all run, as an ordered sequence of steps over ISearchHost.
#include <string>
#include <string_view>

namespace snq {

// What one search needs of the choices in force (the caller's user choices
// with its policies and profile applied).
struct SearchChoices {
    bool useInternetExplorer = true; // else the default browser
    std::u16string searchTemplate;   // empty (or unusable): the built-in one
    bool openAddresses = false;      // open a copied web address as it is
    std::u16string browser;          // an installed browser's key: that one, whatever the first says
    bool privateWindow = false;      // in a private window, where the browser has one
    bool operator==(const SearchChoices&) const = default;
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
    // The choices in force, read once per request (may raise).
    virtual SearchChoices ReadChoices() = 0;
    // The longest address that the chosen way of opening takes.
    virtual std::size_t AddressLimit(bool useInternetExplorer) = 0;
    // The clipboard's text, at most its first `limit` UTF-16 units (may
    // raise "Cannot open clipboard").
    virtual std::u16string ReadClipboardText(std::size_t limit) = 0;
    // "Snapquery: No Text in Clipboard", modal.
    virtual void ShowNoText() = 0;
    virtual void OpenInIE(std::u16string_view address) = 0;
    virtual void OpenInDefaultBrowser(std::u16string_view address) = 0;
    // Opens the address in the browser `browser` names (empty: the default
    // browser), in a private window: a browser no longer installed is the
    // default browser, and one without a known switch opens a usual window.
    virtual void OpenInBrowser(std::u16string_view browser, bool privateWindow, std::u16string_view address) = 0;
};

// Runs one request. `lastSearchAddress` receives the address as soon as it
// is composed, also when the request then ends with the no-text message.
void RunSearchRequest(ISearchHost& host, std::u16string& lastSearchAddress);

} // namespace snq
