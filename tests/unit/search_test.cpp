#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "search/SearchAddress.h"
#include "search/Browsers.h"
#include "search/SearchRequest.h"
#include "search/SearchTemplate.h"
#include "search/SelectionCopy.h"

using namespace snq;

TEST(LanguageCode, EveryTableNameGivesItsCode) {
    const std::pair<const char16_t*, const char16_t*> table[] = {
        {u"Hebrew", u"he"},     {u"Arabic", u"ar"},    {u"German", u"de"},     {u"English", u"en"},
        {u"Korean", u"ko"},     {u"Japanese", u"ja"},  {u"Turkish", u"tr"},    {u"Portuguese", u"pt-PT"},
        {u"Greek", u"el"},      {u"Danish", u"da"},    {u"Dutch", u"nl"},      {u"Finnish", u"fi"},
        {u"French", u"fr"},     {u"Hungarian", u"hu"}, {u"Italian", u"it"},    {u"Norwegian", u"no"},
        {u"Polish", u"pl"},     {u"Russian", u"ru"},   {u"Spanish", u"es"},    {u"Swedish", u"sv"},
        {u"Bulgarian", u"bg"},  {u"Chinese", u"zh"},   {u"Croatian", u"hr"},   {u"Czech", u"cs"},
        {u"Estonian", u"et"},   {u"Filipino", u"tl"},  {u"Georgian", u"ka"},   {u"Hindi", u"hi"},
        {u"Icelandic", u"is"},  {u"Indonesian", u"id"}, {u"Kannada", u"kn"},   {u"Kurdish", u"ku"},
        {u"Persian", u"fa"},    {u"Romanian", u"ro"},  {u"Thai", u"th"},       {u"Ukrainian", u"uk"},
        {u"Vietnamese", u"vi"},
    };
    for (auto [name, code] : table) EXPECT_EQ(GetLanguageCode(name), code);
}

TEST(LanguageCode, OnlyAnExactNameMatchesAndOnlyTheEmptyNameFallsBackToEnglish) {
    EXPECT_EQ(GetLanguageCode(u""), u"en");
    for (const char16_t* name : {u"english", u"ENGLISH", u"English ", u" English",
                                 u"English (United States)", u"Hallo", u"Klingon"})
        EXPECT_EQ(GetLanguageCode(name), u"") << std::u16string(name).size();
}

TEST(SearchAddress, IsTheFixedPiecesAroundTheEncodedQuery) {
    EXPECT_EQ(BuildSearchAddress(u"de", u"C++ & \"x\" #1 100%"),
              u"https://www.google.com/search?complete=1&hl=de&q=C%2B%2B+%26+%22x%22+%231+100%25"
              u"&btnG=Google+Search&aq=f&oq=");
    // The empty code: "&q=" follows "hl=" directly.
    EXPECT_EQ(BuildSearchAddress(u"", u"a"),
              u"https://www.google.com/search?complete=1&hl=&q=a&btnG=Google+Search&aq=f&oq=");
    EXPECT_EQ(BuildSearchAddress(u"en", u""),
              u"https://www.google.com/search?complete=1&hl=en&q=&btnG=Google+Search&aq=f&oq=");
}

TEST(SearchAddress, EncodesEveryScriptAsUtf8AndLeavesOnlyUnreservedCharacters) {
    EXPECT_EQ(EncodeQuery(u"AZaz09-._~", 100), u"AZaz09-._~");
    EXPECT_EQ(EncodeQuery(u"\u03b1\u03b2", 100), u"%CE%B1%CE%B2");           // Greek
    EXPECT_EQ(EncodeQuery(u"\u4e2d\u6587", 100), u"%E4%B8%AD%E6%96%87");     // Chinese
    EXPECT_EQ(EncodeQuery(u"\u0639\u0631\u0628\u064a", 100),                 // Arabic
              u"%D8%B9%D8%B1%D8%A8%D9%8A");
    EXPECT_EQ(EncodeQuery(u"\U0001F600", 100), u"%F0%9F%98%80");             // a surrogate pair
    EXPECT_EQ(EncodeQuery(u"a\xD800z", 100), u"a%EF%BF%BDz");                // a lone surrogate
    EXPECT_EQ(EncodeQuery(u"line1\r\nline2\t", 100), u"line1%0D%0Aline2%09");
    EXPECT_EQ(EncodeQuery(u"   ", 100), u"+++");
    EXPECT_EQ(EncodeQuery(std::u16string(u"a\0b", 3), 100), u"a%00b");
    // Nothing that could end the argument or the query survives unencoded:
    // a space is "+", everything else its %XX.
    EXPECT_EQ(EncodeQuery(u" ", 100), u"+");
    for (char16_t c : std::u16string(u"\"'&#%+?=/\\<>|^`{}[];:,@$!*()")) {
        const char16_t hex[] = u"0123456789ABCDEF";
        const std::u16string expected{u'%', hex[c >> 4], hex[c & 0xF]};
        EXPECT_EQ(EncodeQuery(std::u16string(1, c), 100), expected) << static_cast<int>(c);
    }
}

TEST(SearchAddress, AHugeTextIsCutAtACharacterBoundaryToFitTheLimit) {
    const std::u16string address = BuildSearchAddress(u"en", std::u16string(1'000'000, u'x'));
    EXPECT_EQ(address.size(), kMaxAddressLength);
    EXPECT_TRUE(address.ends_with(kSearchSuffix));
    // Multi-byte characters are never split: every piece is a whole %XX%XX.
    const std::u16string greek = BuildSearchAddress(u"el", std::u16string(5000, u'\u03b1'));
    EXPECT_LE(greek.size(), kMaxAddressLength);
    const std::size_t q = greek.find(kQueryKey) + kQueryKey.size();
    const std::size_t query = greek.size() - kSearchSuffix.size() - q;
    const std::size_t budget = kMaxAddressLength - (greek.size() - query);
    EXPECT_EQ(query % 6, 0u);
    EXPECT_GT(query + 6, budget) << "as many whole letters as fit";
    const std::u16string emoji = EncodeQuery(u"\U0001F600\U0001F600", 13);
    EXPECT_EQ(emoji, u"%F0%9F%98%80");
    EXPECT_EQ(EncodeQuery(u"abc", 0), u"");
}

namespace {

// Records the order of the request's steps.
class FakeHost : public ISearchHost {
public:
    std::u16string language = u"English";
    std::vector<std::u16string> clipboard; // successive reads
    bool settingsFail = false;
    int failRead = -1; // index of the read that fails
    std::vector<std::string> steps;
    std::u16string opened;

    std::u16string LanguageEnglish() override {
        steps.push_back("language");
        return language;
    }
    void SendCopyToFocus() override { steps.push_back("copy"); }
    SearchChoices ReadChoices() override {
        steps.push_back("settings");
        if (settingsFail) throw ERegistryException(u"Invalid data type for 'Default'");
        return choices;
    }
    std::size_t AddressLimit(bool useInternetExplorer) override {
        return useInternetExplorer ? automationLimit : addressLimit;
    }
    SearchChoices choices = DefaultBrowser();
    std::size_t addressLimit = kMaxAddressLength;    // the default browser's
    std::size_t automationLimit = kMaxAddressLength; // Internet Explorer's
    static SearchChoices DefaultBrowser() {
        SearchChoices c;
        c.useInternetExplorer = false;
        return c;
    }
    std::u16string ReadClipboardText(std::size_t limit) override {
        const int index = reads++;
        steps.push_back("read");
        limits.push_back(limit);
        if (index == failRead) throw EClipboardException(u"Cannot open clipboard");
        return index < static_cast<int>(clipboard.size()) ? clipboard[index].substr(0, limit) : u"";
    }
    std::vector<std::size_t> limits;
    void ShowNoText() override { steps.push_back("no text"); }
    void OpenInIE(std::u16string_view a) override {
        steps.push_back("ie");
        opened = a;
    }
    void OpenInDefaultBrowser(std::u16string_view a) override {
        steps.push_back("browser");
        opened = a;
    }
    void OpenInBrowser(std::u16string_view browser, bool privateWindow, std::u16string_view a) override {
        steps.push_back("in " + std::string(browser.begin(), browser.end()) + (privateWindow ? ", private" : ""));
        opened = a;
    }

private:
    int reads = 0;
};

const std::u16string kEmptyQuery =
    u"https://www.google.com/search?complete=1&hl=en&q=&btnG=Google+Search&aq=f&oq=";

} // namespace

TEST(SearchRequest, RunsItsStepsInOrderAndOpensTheAddressOfTheFirstRead) {
    FakeHost host;
    host.clipboard = {u"first text", u"second text"};
    std::u16string last;
    RunSearchRequest(host, last);
    EXPECT_EQ(host.steps, (std::vector<std::string>{"language", "copy", "settings", "read", "read",
                                                    "browser"}));
    EXPECT_EQ(last, BuildSearchAddress(u"en", u"first text"));
    EXPECT_EQ(host.opened, last);
    host = FakeHost();
    host.choices.useInternetExplorer = true;
    host.clipboard = {u" ", u" "}; // only a space is still text
    RunSearchRequest(host, last);
    EXPECT_EQ(host.steps.back(), "ie");
}

TEST(SearchRequest, TheSecondReadDecidesWhetherThereIsText) {
    FakeHost host;
    host.clipboard = {u"gone", u""};
    std::u16string last;
    RunSearchRequest(host, last);
    EXPECT_EQ(host.steps.back(), "no text");
    EXPECT_EQ(last, BuildSearchAddress(u"en", u"gone")) << "stored before the message";
    EXPECT_TRUE(host.opened.empty());

    host = FakeHost();
    host.clipboard = {u"", u"arrived late"};
    RunSearchRequest(host, last);
    EXPECT_EQ(host.steps.back(), "browser");
    EXPECT_EQ(host.opened, kEmptyQuery);
}

TEST(SearchRequest, ErrorsEndTheRequestWhereTheyHappen) {
    FakeHost host;
    host.settingsFail = true;
    std::u16string last = u"previous";
    EXPECT_THROW(RunSearchRequest(host, last), ERegistryException);
    EXPECT_EQ(host.steps.back(), "settings") << "no clipboard read after a settings error";
    EXPECT_EQ(last, u"previous");

    host = FakeHost();
    host.failRead = 0;
    EXPECT_THROW(RunSearchRequest(host, last), EClipboardException);
    EXPECT_EQ(last, u"previous");

    host = FakeHost();
    host.clipboard = {u"new"};
    host.failRead = 1;
    EXPECT_THROW(RunSearchRequest(host, last), EClipboardException);
    EXPECT_EQ(last, BuildSearchAddress(u"en", u"new"));
    EXPECT_TRUE(host.opened.empty());
}

TEST(SearchRequest, AHugeClipboardIsReadOnlyAsFarAsTheAddressCanUseIt) {
    // Each text's address is the one its whole text gives.
    for (const std::u16string& unit : {std::u16string(u"z"), std::u16string(u" "),
                                       std::u16string(u"\U0001F600"), std::u16string(u"\u00e9")}) {
        std::u16string huge;
        for (int i = 0; i < 100000; ++i) huge += unit;
        FakeHost host;
        host.clipboard = {huge, huge};
        std::u16string last;
        RunSearchRequest(host, last);
        EXPECT_EQ(last, BuildSearchAddress(u"en", huge));
        EXPECT_GT(last.size(), kMaxAddressLength - 12) << "full up to the last character that fits";
        ASSERT_EQ(host.limits.size(), 2u);
        EXPECT_LE(host.limits[0], kMaxAddressLength + kAddressSlack);
        EXPECT_EQ(host.limits[1], 1u) << "the second read only tells whether there is text";
    }
    // A way of opening that takes shorter addresses gets one that fits.
    FakeHost host;
    host.addressLimit = 700;
    host.clipboard = {std::u16string(5000, u'z'), u"z"};
    std::u16string last;
    RunSearchRequest(host, last);
    EXPECT_EQ(last.size(), 700u);
    EXPECT_TRUE(last.ends_with(kSearchSuffix));
    EXPECT_EQ(host.opened, last);
    // The limit is the one of the way the choices open it.
    host = FakeHost();
    host.addressLimit = 700;
    host.choices.useInternetExplorer = true;
    host.clipboard = {std::u16string(5000, u'z'), u"z"};
    RunSearchRequest(host, last);
    EXPECT_GT(last.size(), 2000u);
}

TEST(SearchRequest, UnknownAndMissingLanguageNames) {
    FakeHost host;
    host.language = u"Hallo";
    host.clipboard = {u"x", u"x"};
    std::u16string last;
    RunSearchRequest(host, last);
    EXPECT_TRUE(last.starts_with(u"https://www.google.com/search?complete=1&hl=&q=x"));
}

TEST(SearchTemplate, PlaceholdersTakeTheEncodedTextAndTheLanguage) {
    EXPECT_EQ(ExpandTemplate(kDuckDuckGoTemplate, u"en", u"C++ & x"),
              u"https://duckduckgo.com/?q=C%2B%2B+%26+x");
    EXPECT_EQ(ExpandTemplate(kBingTemplate, u"de", u"\u00e9t\u00e9"),
              u"https://www.bing.com/search?q=%C3%A9t%C3%A9");
    EXPECT_EQ(ExpandTemplate(u"https://x.example/{lang}/s?q={query}&again={query}", u"fr", u"a b"),
              u"https://x.example/fr/s?q=a+b&again=a+b");
    // No template: the built-in address, exactly as before.
    EXPECT_EQ(ExpandTemplate(u"", u"en", u"a b"), BuildSearchAddress(u"en", u"a b"));
    // The limit holds, at a character boundary, with every {query} the same.
    const std::u16string cut = ExpandTemplate(u"https://x.example/?a={query}&b={query}", u"en",
                                              std::u16string(5000, u'\u03b1'), 500);
    EXPECT_LE(cut.size(), 500u);
    EXPECT_GT(cut.size(), 500u - 2 * 6);
    const std::size_t a = cut.find(u"?a=") + 3, b = cut.find(u"&b=");
    EXPECT_EQ(cut.substr(b + 3), cut.substr(a, b - a));
}

TEST(SearchTemplate, OnlyAWebAddressWithAQueryAndPlainCharactersCanBeUsed) {
    EXPECT_EQ(TemplateProblemOf(kBingTemplate), TemplateProblem::None);
    EXPECT_EQ(TemplateProblemOf(kDuckDuckGoTemplate), TemplateProblem::None);
    EXPECT_EQ(TemplateProblemOf(u"HTTP://x.example/?q={query}&hl={lang}"), TemplateProblem::None);
    for (const char16_t* scheme : {u"file:///c:/x?{query}", u"javascript:alert({query})",
                                   u"ftp://x/{query}", u"C:\\Windows\\{query}", u"{query}", u""})
        EXPECT_EQ(TemplateProblemOf(scheme), TemplateProblem::NotWebAddress)
            << std::u16string(scheme).size();
    EXPECT_EQ(TemplateProblemOf(u"https://x.example/?q="), TemplateProblem::NoQuery);
    EXPECT_EQ(TemplateProblemOf(u"https://x.example/?q={Query}"), TemplateProblem::NoQuery);
    // Nothing that could end the browser's argument or start another.
    for (const char16_t* bad : {u"https://x.example/?q={query}\" --new-window \"x",
                                u"https://x.example/?q= {query}", u"https://x.example/\t{query}",
                                u"https://x.example/\u00fc/{query}", u"https://x.example/<{query}>"})
        EXPECT_EQ(TemplateProblemOf(bad), TemplateProblem::BadCharacter)
            << std::u16string(bad).size();
    EXPECT_EQ(TemplateProblemOf(u"https://x.example/" + std::u16string(2030, u'a') + u"{query}"),
              TemplateProblem::TooLong);
}

TEST(WebAddress, OnlyOneHttpOrHttpsAddressIsTakenAsItIs) {
    EXPECT_EQ(WebAddressIn(u"https://example.com/a?b=c#d"), u"https://example.com/a?b=c#d");
    EXPECT_EQ(WebAddressIn(u"  \r\n\thttp://example.com/ \n"), u"http://example.com/");
    EXPECT_EQ(WebAddressIn(u"HTTPS://Example.com"), u"HTTPS://Example.com");
    EXPECT_EQ(WebAddressIn(u"https://de.wikipedia.org/wiki/K\u00f6ln"),
              u"https://de.wikipedia.org/wiki/K\u00f6ln");
    for (const char16_t* text :
         {u"file:///C:/Windows/System32/calc.exe", u"javascript:alert(1)", u"C:\\Windows\\notepad.exe",
          u"\\\\server\\share", u"mailto:a@example.com", u"ftp://example.com", u"www.example.com",
          u"https://", u"https://a.example b", u"https://a.example\u00a0b",
          u"https://a.example/\"--x", u"https://a.example/\x01", u"see https://example.com",
          u"https://a.example https://b.example", u""})
        EXPECT_EQ(WebAddressIn(text), std::nullopt) << std::u16string(text).size();
    const std::u16string longest = u"https://x.example/" + std::u16string(2048 - 18, u'a');
    EXPECT_EQ(WebAddressIn(longest), longest);
    EXPECT_EQ(WebAddressIn(longest + u"a"), std::nullopt);
    EXPECT_EQ(WebAddressIn(u"https://x.example/abc", 20), std::nullopt);
}

TEST(SearchRequest, TheSettingsChoicesShapeTheAddress) {
    FakeHost host;
    host.choices.searchTemplate = kDuckDuckGoTemplate;
    host.clipboard = {u"a b", u"a b"};
    std::u16string last;
    RunSearchRequest(host, last);
    EXPECT_EQ(host.opened, u"https://duckduckgo.com/?q=a+b");
    // A copied web address is opened as it is only when chosen.
    host = FakeHost();
    host.clipboard = {u" https://example.com/x?y=1 ", u"x"};
    RunSearchRequest(host, last);
    EXPECT_EQ(host.opened, BuildSearchAddress(u"en", u" https://example.com/x?y=1 "));
    host = FakeHost();
    host.choices.openAddresses = true;
    host.clipboard = {u" https://example.com/x?y=1 ", u"x"};
    RunSearchRequest(host, last);
    EXPECT_EQ(host.opened, u"https://example.com/x?y=1");
    // Anything else is searched as text, and a template that cannot be used
    // is the built-in address.
    host = FakeHost();
    host.choices.searchTemplate = u"file:///C:/x?{query}";
    host.choices.openAddresses = true;
    host.clipboard = {u"file:///C:/Windows/notepad.exe", u"x"};
    RunSearchRequest(host, last);
    EXPECT_EQ(host.opened, BuildSearchAddress(u"en", u"file:///C:/Windows/notepad.exe"));
    // A web address longer than the way of opening takes is searched too.
    host = FakeHost();
    host.choices.openAddresses = true;
    host.addressLimit = 768;
    const std::u16string address = u"https://x.example/" + std::u16string(800, u'a');
    host.clipboard = {address, u"x"};
    RunSearchRequest(host, last);
    EXPECT_EQ(host.opened, BuildSearchAddress(u"en", address, 768));
}

namespace {
// A desktop with a fake clock. The keys go up at `releasedAt` (and down
// again at `pressedAgainAt`); Ctrl+C changes the clipboard `copyTakes` ms
// after it is sent (never when negative), bringing text or not; an exit
// request comes at `exitAt`; the user opens the menu at `withdrawnAt` and
// copies something else at `userCopiesAt`; the clipboard cannot be written
// until `heldUntil`, nor kept when not `keepable`.
struct FakeSelection : ISelectionHost {
    std::uint64_t now = 0, releasedAt = 0, pressedAgainAt = ~0ull, exitAt = ~0ull, withdrawnAt = ~0ull,
                  heldUntil = 0, frontChangesAt = ~0ull, waitJumpsTo = 0, userCopiesAt = ~0ull;
    FrontWindow front{{u"Notepad"}, u"notepad.exe"};
    std::uintptr_t frontWindow = 1;
    std::optional<std::u16string> text = u"old";
    bool sendWorks = true, copyBringsText = true, keepable = true;
    int copyTakes = 0;
    std::uint32_t sequence = 5;
    std::int64_t copiedAt = -1;
    std::vector<std::string> steps;
    bool Copied() const { return copiedAt >= 0 && static_cast<std::int64_t>(now) >= copiedAt; }
    bool AnyKeyHeld() override { return now < releasedAt || now >= pressedAgainAt; }
    std::pair<std::uintptr_t, std::uintptr_t> FrontHandles() override {
        // Asking takes time: the window may change between two asks.
        const std::uintptr_t window = now >= frontChangesAt ? frontWindow + 1 : frontWindow;
        ++now;
        return {window, 7};
    }
    FrontWindow DescribeFront() override { return front; }
    std::uint32_t ClipboardSequence() override { return sequence + Copied() + 2 * (now >= userCopiesAt); }
    bool ClipboardHasText() override { return Copied() ? copyBringsText : text.has_value(); }
    bool KeepClipboard(std::uint64_t deadline) override { return keepable && now <= deadline; }
    std::optional<std::u16string> KeptText() override { return text; }
    std::optional<std::u16string> ClipboardText() override {
        return Copied() ? (copyBringsText ? std::optional<std::u16string>(u"selected") : std::nullopt) : text;
    }
    RestoreOutcome RestoreClipboard(std::uint32_t expected) override {
        if (now < heldUntil) return RestoreOutcome::Held;
        if (expected != ClipboardSequence()) return RestoreOutcome::Replaced;
        steps.push_back("restore at " + std::to_string(now));
        return RestoreOutcome::Restored;
    }
    bool SendCopy() override {
        steps.push_back("copy at " + std::to_string(now));
        if (sendWorks && copyTakes >= 0) copiedAt = static_cast<std::int64_t>(now) + copyTakes;
        return sendWorks;
    }
    std::uint64_t Now() override { return now; }
    bool Wait(std::uint32_t ms) override {
        // A nested window (the Settings window) may keep the wait for long.
        now = std::max(now + ms, waitJumpsTo);
        waitJumpsTo = 0;
        return now < exitAt;
    }
    bool Withdrawn() override { return now >= withdrawnAt; }
};
} // namespace

TEST(SelectionCopy, SendsOnlyToAQuietKeyboardAndNoTerminalInTimeAndPutsTheClipboardBack) {
    using S = std::vector<std::string>;
    using O = CopyOutcome;
    struct Row {
        const char* what;
        void (*set)(FakeSelection&);
        CopyOutcome outcome;
        S steps;
        std::uint64_t endsAt;
        std::optional<std::u16string> text = std::nullopt;
        bool restoreFailed = false;
    };
    const Row rows[] = {
        {"keys up at 230, text after 40 ms", [](FakeSelection& h) { h.releasedAt = 230; h.copyTakes = 40; },
         O::Copied, S{"copy at 232", "restore at 272"}, 272, u"selected"},
        {"a clipboard that cannot be kept", [](FakeSelection& h) { h.keepable = false; }, O::NotSent, S{}, 0},
        {"the user copies between keeping and sending", [](FakeSelection& h) { h.userCopiesAt = 1; },
         O::NotSent, S{}, 2},
        {"the user copies while the clipboard is held after the copy",
         [](FakeSelection& h) { h.copyTakes = 10; h.heldUntil = 300; h.userCopiesAt = 100; },
         O::Copied, S{"copy at 2"}, 312, u"selected"},
        {"a key held past the wait", [](FakeSelection& h) { h.releasedAt = 99999; }, O::NotSent, S{}, 1000},
        {"a key pressed again right before the copy", [](FakeSelection& h) { h.pressedAgainAt = 1; },
         O::NotSent, S{}, 1},
        {"another window in front right before the copy", [](FakeSelection& h) { h.frontChangesAt = 1; },
         O::NotSent, S{}, 2},
        {"the menu opened while the keys were down", [](FakeSelection& h) { h.releasedAt = 200; h.withdrawnAt = 100; },
         O::NotSent, S{}, 100},
        {"a window of ours kept the wait past the budget",
         [](FakeSelection& h) { h.releasedAt = 100; h.waitJumpsTo = 4300; }, O::NotSent, S{}, 4302},
        {"no selection", [](FakeSelection& h) { h.copyTakes = -1; }, O::NothingCopied, S{"copy at 2"}, 502},
        {"the input refused", [](FakeSelection& h) { h.sendWorks = false; }, O::NotSent, S{"copy at 2"}, 2},
        {"a console in front", [](FakeSelection& h) { h.front = {{u"ConsoleWindowClass"}, u""}; }, O::NotSent, S{}, 1},
        {"no window in front", [](FakeSelection& h) { h.frontWindow = 0; }, O::NotSent, S{}, 1},
        {"files copied", [](FakeSelection& h) { h.copyBringsText = false; h.copyTakes = 20; },
         O::NothingCopied, S{"copy at 2", "restore at 72"}, 72},
        {"files copied, the clipboard held 600 ms",
         [](FakeSelection& h) { h.copyBringsText = false; h.heldUntil = 600; },
         O::NothingCopied, S{"copy at 2", "restore at 602"}, 602},
        {"files copied, the clipboard held for good",
         [](FakeSelection& h) { h.copyBringsText = false; h.heldUntil = 99999; },
         O::NothingCopied, S{"copy at 2"}, 1052, u"old", true},
        {"files copied over no text", [](FakeSelection& h) { h.copyBringsText = false; h.text = std::nullopt; },
         O::NothingCopied, S{"copy at 2", "restore at 52"}, 52},
        {"exit while keys are held", [](FakeSelection& h) { h.releasedAt = 99999; h.exitAt = 300; },
         O::Cancelled, S{}, 300},
        {"exit while waiting for the copy", [](FakeSelection& h) { h.copyTakes = -1; h.exitAt = 100; },
         O::Cancelled, S{"copy at 2"}, 102},
    };
    for (const Row& row : rows) {
        FakeSelection host;
        row.set(host);
        const CopyResult result = CopySelection(host);
        EXPECT_EQ(result.outcome, row.outcome) << row.what;
        EXPECT_EQ(host.steps, row.steps) << row.what;
        EXPECT_EQ(host.now, row.endsAt) << row.what;
        EXPECT_EQ(result.text, row.text) << row.what;
        EXPECT_EQ(result.restoreFailed, row.restoreFailed) << row.what;
    }
}

TEST(SelectionCopy, KnowsTerminalsAndRemoteWindowsByClassOrProgram) {
    // Every terminal and remote window the copy must leave alone.
    const char16_t* classes[] = {u"ConsoleWindowClass", u"PseudoConsoleWindow", u"CASCADIA_HOSTING_WINDOW_CLASS",
        u"WineConsoleClass", u"mintty", u"PuTTY", u"KiTTY", u"VTWin32", u"TMobaXtermForm", u"VirtualConsoleClass",
        u"org.wezfurlong.wezterm", u"TscShellContainerClass", u"RAIL_WINDOW", u"IHWindowClass", u"OPContainerClass",
        u"OPWindowClass", u"UIMainClass", u"UIContainerClass"};
    const char16_t* programs[] = {u"mstsc.exe", u"msrdc.exe", u"vmconnect.exe", u"vmware.exe", u"vmrc.exe",
        u"VirtualBoxVM.exe", u"wfica32.exe", u"CDViewer.exe", u"WindowsTerminal.exe", u"alacritty.exe",
        u"wezterm-gui.exe", u"Tabby.exe", u"Hyper.exe", u"emacs.exe", u"vncviewer.exe", u"tvnviewer.exe",
        u"TeamViewer.exe", u"AnyDesk.exe", u"rustdesk.exe", u"vmware-view.exe", u"parsecd.exe", u"RDCMan.exe",
        u"mRemoteNG.exe", u"RoyalTS.exe", u"SecureCRT.exe", u"Xshell.exe"};
    for (const char16_t* c : classes) EXPECT_TRUE(TakesCopyAsCommand({{u"Notepad", u"Frame", c}, u"app.exe"}));
    for (const char16_t* p : programs) EXPECT_TRUE(TakesCopyAsCommand({{u"Generic"}, p}));
    struct Row {
        FrontWindow front;
        bool command;
    };
    const Row rows[] = {
        {{{u"consolewindowclass"}, u""}, true},                       // without regard to case
        {{{u"Qt5QWindowIcon"}, u"VIRTUALBOXVM.EXE"}, true},
        {{{u"Notepad", u"Edit"}, u"notepad.exe"}, false},
        {{{u"ConsoleWindowClassX"}, u"mstsc.exe.bak"}, false},        // whole names only
        {{{}, u""}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TakesCopyAsCommand(row.front), row.command)
            << std::string(row.front.process.begin(), row.front.process.end());
}

// The private window's switch goes by the program's file name, in any case
// and folder; a browser without one known gets none.
TEST(Browsers, PrivateSwitchesByProgramName) {
    const struct {
        std::u16string_view program, privateSwitch;
    } rows[] = {
        {u"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe", u"--inprivate"},
        {u"C:\\Program Files\\Google\\Chrome\\Application\\CHROME.EXE", u"--incognito"},
        {u"chromium.exe", u"--incognito"},
        {u"brave.exe", u"--incognito"},
        {u"vivaldi.exe", u"--incognito"},
        {u"C:\\Program Files\\Mozilla Firefox\\firefox.exe", u"-private-window"},
        {u"librewolf.exe", u"-private-window"},
        {u"waterfox.exe", u"-private-window"},
        {u"opera.exe", u"--private"},
        {u"C:\\Tools\\notfirefox.exe", u""},
        {u"iexplore.exe", u""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PrivateSwitch(row.program), row.privateSwitch) << std::string(row.program.begin(), row.program.end());
}

// The program comes from the registered command; the address is one
// argument after the switch, or nothing starts.
TEST(Browsers, TheLaunchCommandHoldsTheAddressAsOneArgument) {
    EXPECT_EQ(ProgramOfCommand(u"\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\""),
              u"C:\\Program Files\\Mozilla Firefox\\firefox.exe");
    EXPECT_EQ(ProgramOfCommand(u"C:\\Browsers\\Opera.EXE --single-argument %1"), u"C:\\Browsers\\Opera.EXE");
    const std::u16string program = u"C:\\Program Files\\Mozilla Firefox\\firefox.exe";
    const std::u16string reserved = u"https://s.example/?q=%20%22%25%26%2B%23%3C%3E%5E%60%7C";
    const struct {
        std::u16string_view privateSwitch, address;
        std::optional<std::u16string> line;
    } rows[] = {
        {u"-private-window", reserved, u"\"" + program + u"\" -private-window " + reserved},
        {u"", u"https://s.example/?q=a", u"\"" + program + u"\" https://s.example/?q=a"},
        {u"", u"https://s.example/?q=a b", std::nullopt},
        {u"", u"https://s.example/\" --new-window", std::nullopt},
        {u"", u"https://s.example/?q=a\tb", std::nullopt},
        {u"", u"", std::nullopt},
    };
    EXPECT_EQ(BrowserCommandLine(u"firefox.exe", u"", u"https://s.example/"), std::nullopt) << "a bare name";
    for (const auto& row : rows)
        EXPECT_EQ(BrowserCommandLine(program, row.privateSwitch, row.address), row.line)
            << std::string(row.address.begin(), row.address.end());
}
