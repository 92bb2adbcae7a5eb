#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "search/SearchAddress.h"
#include "search/SearchRequest.h"

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
    bool useIE = false;
    bool settingsFail = false;
    int failRead = -1; // index of the read that fails
    std::vector<std::string> steps;
    std::u16string opened;

    std::u16string LanguageEnglish() override {
        steps.push_back("language");
        return language;
    }
    void SendCopyToFocus() override { steps.push_back("copy"); }
    void GetSettings() override {
        steps.push_back("settings");
        if (settingsFail) throw ERegistryException(u"Invalid data type for 'Default'");
    }
    bool UseInternetExplorer() override { return useIE; }
    std::size_t AddressLimit() override { return addressLimit; }
    std::size_t addressLimit = kMaxAddressLength;
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
    host.useIE = true;
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
        EXPECT_LE(host.limits[0], kMaxAddressLength + 1);
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
}

TEST(SearchRequest, UnknownAndMissingLanguageNames) {
    FakeHost host;
    host.language = u"Hallo";
    host.clipboard = {u"x", u"x"};
    std::u16string last;
    RunSearchRequest(host, last);
    EXPECT_TRUE(last.starts_with(u"https://www.google.com/search?complete=1&hl=&q=x"));
}
