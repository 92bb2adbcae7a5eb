#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "framework/Exceptions.h"
#include "framework/Trace.h"
#include "settings/Policies.h"
#include "settings/Settings.h"
#include "support/FakeKeyboard.h"

using namespace snq;

namespace {

std::u16string Lower(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return out;
}

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, bool terminate = true) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminate) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

// An in-memory registry: keys by hive and case-folded path, values by
// case-folded name; each hive grants full, read-only or no access, and
// writes and reads can be made to fail.
class FakeRegistry : public IRegistry {
public:
    enum class Access { Full, ReadOnly, None };
    struct Value {
        std::u16string name;
        RegValue value;
    };
    using Key = std::map<std::u16string, Value>;

    std::map<std::pair<RootKey, std::u16string>, Key> keys;
    Access machine = Access::Full, user = Access::Full;
    bool failWrites = false, failReads = false;
    int opens = 0;

    Key* Find(RootKey root, std::u16string_view path) {
        auto it = keys.find({root, Lower(path)});
        return it == keys.end() ? nullptr : &it->second;
    }
    void Set(RootKey root, std::u16string_view path, std::u16string_view name, RegType type,
             std::vector<std::uint8_t> data) {
        keys[{root, Lower(path)}][Lower(name)] = {std::u16string(name), {type, std::move(data)}};
    }
    std::optional<std::u16string> Text(RootKey root, std::u16string_view path,
                                       std::u16string_view name) {
        Key* key = Find(root, path);
        if (!key || !key->count(Lower(name))) return std::nullopt;
        const auto& data = key->at(Lower(name)).value.data;
        std::u16string text;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2)
            text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (!text.empty() && text.back() == u'\0') text.pop_back();
        return text;
    }

    class FakeKey : public IRegistryKey {
    public:
        FakeKey(FakeRegistry& owner, Key& key, bool writable)
            : owner_(owner), key_(key), writable_(writable) {}
        std::optional<std::pair<RegType, std::uint32_t>> Query(std::u16string_view name) override {
            auto it = key_.find(Lower(name));
            if (it == key_.end()) return std::nullopt;
            return std::pair{it->second.value.type,
                             static_cast<std::uint32_t>(it->second.value.data.size())};
        }
        std::optional<RegValue> Read(std::u16string_view name) override {
            auto it = key_.find(Lower(name));
            if (it == key_.end() || owner_.failReads) return std::nullopt;
            return it->second.value;
        }
        bool WriteString(std::u16string_view name, std::u16string_view text) override {
            if (owner_.failWrites || !writable_) return false;
            auto& slot = key_[Lower(name)];
            if (slot.name.empty()) slot.name = std::u16string(name);
            slot.value = {RegType::Sz, Utf16Bytes(text)};
            return true;
        }
        bool Delete(std::u16string_view name) override {
            return writable_ && key_.erase(Lower(name)) > 0;
        }

    private:
        FakeRegistry& owner_;
        Key& key_;
        bool writable_;
    };

    Access AccessTo(RootKey root) const { return root == RootKey::CurrentUser ? user : machine; }

    std::unique_ptr<IRegistryKey> CreateKey(RootKey root, std::u16string_view path) override {
        ++opens;
        EXPECT_FALSE(!path.empty() && path.front() == u'\\') << "the leading \\ must be removed";
        if (AccessTo(root) != Access::Full) return nullptr;
        return std::make_unique<FakeKey>(*this, keys[{root, Lower(path)}], true);
    }
    bool DeleteKey(RootKey root, std::u16string_view path) override {
        return AccessTo(root) == Access::Full && keys.erase({root, Lower(path)}) > 0;
    }
    std::unique_ptr<IRegistryKey> OpenKeyReadOnly(RootKey root, std::u16string_view path) override {
        ++opens;
        EXPECT_FALSE(!path.empty() && path.front() == u'\\') << "the leading \\ must be removed";
        Key* key = Find(root, path);
        if (AccessTo(root) == Access::None || !key) return nullptr;
        return std::make_unique<FakeKey>(*this, *key, false);
    }
    std::vector<std::u16string> SubkeyNames(RootKey root, std::u16string_view path) override {
        std::vector<std::u16string> names;
        const std::u16string prefix = Lower(path) + u"\\";
        for (const auto& [where, key] : keys)
            if (where.first == root && where.second.starts_with(prefix) &&
                where.second.find(u'\\', prefix.size()) == std::u16string::npos)
                names.push_back(where.second.substr(prefix.size()));
        return names;
    }
};

// The stored hotkey's names, as the program reads and writes them.
THotKeyText& Keys() {
    static snq::testing::FakeKeyboard keyboard;
    static THotKeyText keys = [] {
        THotKeyText names(keyboard);
        names.Startup();
        return names;
    }();
    return keys;
}

constexpr auto LM = RootKey::LocalMachine;
constexpr auto CU = RootKey::CurrentUser;
const std::u16string kSettings = u"SOFTWARE\\Varnel\\SNQ";
const std::u16string kRun = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::u16string kExe = u"C:\\Program Files\\Snap query\\snapquery.exe";
const std::u16string kQuotedExe = u"\"" + kExe + u"\"";
// Where only administrators may write.
const std::vector<std::u16string> kAdminFolders = {u"C:\\Program Files", u"C:\\Windows\\"};
std::vector<std::u16string> AdminFolders() { return kAdminFolders; }
constexpr auto LM64 = RootKey::LocalMachine64;
using Access = FakeRegistry::Access;

template <class F> std::u16string ErrorOf(F&& f) {
    try {
        f();
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return u"<no error>";
}

// What the tray menu's handlers do with the marks.
void Popup(TSettings& settings, bool& browserMark, bool& runMark) {
    const MenuMarks marks = ReadMenuMarks(settings);
    browserMark = marks.defaultBrowser;
    runMark = marks.autoRun;
}
void ToggleBrowser(TSettings& settings, bool& mark) { mark = ToggleDefaultBrowser(settings, mark); }
void ToggleRun(TSettings& settings, bool& mark) { mark = ToggleRunAtStartup(settings); }

} // namespace

TEST(Settings, AFreshRegistryGetsDefaultNoAndAutomationMode) {
    FakeRegistry reg;
    TSettings settings(reg, Keys(), kExe);
    bool browserMark = true, runMark = true;
    Popup(settings, browserMark, runMark);
    EXPECT_EQ(reg.Text(LM, kSettings, u"Default"), u"No");
    EXPECT_EQ(reg.Find(LM, kSettings)->at(u"default").name, u"Default");
    EXPECT_TRUE(settings.Read().useInternetExplorer);
    EXPECT_FALSE(browserMark);
    EXPECT_FALSE(runMark);
    EXPECT_EQ(reg.Find(CU, kSettings), nullptr) << "no fallback while HKLM can be written";
}

TEST(Settings, OnlyAnExactYesSelectsTheDefaultBrowserAndNothingIsRewritten) {
    for (auto [text, ie] : {std::pair{u"Yes", false}, {u"No", true}, {u"", true}, {u"yes", true},
                            {u"YES", true}, {u"Yes ", true}, {u"whatever", true}}) {
        FakeRegistry reg;
        reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(text));
        TSettings settings(reg, Keys(), kExe);
        EXPECT_EQ(settings.Read().useInternetExplorer, ie);
        EXPECT_EQ(reg.Text(LM, kSettings, u"Default"), std::u16string(text));
    }
}

TEST(Settings, ValueNamesIgnoreCaseAndExpandSzIsAccepted) {
    FakeRegistry reg;
    reg.Set(LM, kSettings, u"DEFAULT", RegType::ExpandSz, Utf16Bytes(u"Yes"));
    TSettings settings(reg, Keys(), kExe);
    EXPECT_FALSE(settings.Read().useInternetExplorer);
}

TEST(Settings, TextEndsAtTheFirstNulAndAnEmptyValueReadsEmpty) {
    FakeRegistry reg;
    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(std::u16string(u"Yes\0junk", 8)));
    TSettings settings(reg, Keys(), kExe);
    EXPECT_FALSE(settings.Read().useInternetExplorer);
    // Size 0 reads empty whatever its type: automation, and no type error.
    reg.Set(LM, kSettings, u"Default", RegType::Binary, {});
    EXPECT_TRUE(settings.Read().useInternetExplorer);
    // A value without its terminator still reads whole.
    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(u"Yes", false));
    EXPECT_FALSE(settings.Read().useInternetExplorer);
}

TEST(Settings, WrongTypeAndFailedReadsRaiseTheirErrorsAndKeepTheMode) {
    FakeRegistry reg;
    reg.Set(LM, kSettings, u"Default", RegType::Dword, {1, 0, 0, 0});
    TSettings settings(reg, Keys(), kExe);
    EXPECT_EQ(ErrorOf([&] { settings.Read(); }), u"Invalid data type for 'Default'");
    bool browserMark = true, runMark = false;
    EXPECT_EQ(ErrorOf([&] { Popup(settings, browserMark, runMark); }),
              u"Invalid data type for 'Default'");
    EXPECT_TRUE(browserMark) << "no mark changes on an error";
    // A read before the user acted takes it for its default, silently.
    EXPECT_TRUE(settings.Read(BrowserModeRead::Quietly).useInternetExplorer);

    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(u"Yes"));
    reg.failReads = true;
    EXPECT_EQ(ErrorOf([&] { settings.Read(); }), u"Failed to get data for 'Default'");
}

TEST(Settings, TheBrowserToggleFollowsItsOwnMarkNotTheRegistry) {
    FakeRegistry reg;
    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(u"No"));
    TSettings settings(reg, Keys(), kExe);
    bool mark = false;
    ToggleBrowser(settings, mark);
    EXPECT_TRUE(mark);
    EXPECT_EQ(reg.Text(LM, kSettings, u"Default"), u"Yes");
    ToggleBrowser(settings, mark);
    EXPECT_FALSE(mark);
    EXPECT_EQ(reg.Text(LM, kSettings, u"Default"), u"No");
    // A mark that disagrees with the registry still decides.
    mark = true;
    ToggleBrowser(settings, mark);
    EXPECT_EQ(reg.Text(LM, kSettings, u"Default"), u"No");
}

TEST(Settings, TheRunToggleWritesTheQuotedPathAndDeletesAnyEntry) {
    FakeRegistry reg;
    TSettings settings(reg, Keys(), kExe);
    bool mark = false;
    ToggleRun(settings, mark);
    EXPECT_TRUE(mark);
    // This user's own entry, even with the right to write the machine's.
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), kQuotedExe);
    EXPECT_EQ(reg.Text(LM, kRun, u"SNQ"), std::nullopt);
    EXPECT_TRUE(settings.RunsAtStartup());
    ToggleRun(settings, mark);
    EXPECT_FALSE(mark);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), std::nullopt);
    // An entry of the machine's (an older version's, or an administrator's,
    // in either view) that starts a file from an administrators' folder
    // counts as present, and toggling removes it.
    TSettings machine(reg, Keys(), kExe, {}, AdminFolders);
    reg.Set(LM64, kRun, u"snq", RegType::Sz, Utf16Bytes(u"\"C:\\Program Files\\Old\\snapquery.exe\""));
    bool browser = false;
    Popup(machine, browser, mark);
    EXPECT_TRUE(mark);
    ToggleRun(machine, mark);
    EXPECT_FALSE(mark);
    EXPECT_EQ(reg.Text(LM64, kRun, u"SNQ"), std::nullopt);
}

TEST(Settings, AMachineWideEntryCountsOnlyWhenOneUserCannotReplaceWhatItStarts) {
    const std::pair<const char16_t*, bool> rows[] = {
        {u"\"C:\\Program Files\\Snap query\\snapquery.exe\"", true},
        {u"\"c:/program files/snap query/snapquery.exe\" /x", true},
        {u"C:\\Windows\\snq.exe", true},
        {u"C:\\Program Files\\Snap query\\snapquery.exe", true},   // unquoted, as older copies wrote it
        {u"D:\\old\\snapquery.exe", false},
        {u"\"C:\\Users\\me\\AppData\\Local\\snapquery.exe\"", false},
        {u"\"C:\\Windows\\Temp\\snapquery.exe\"", false},
        {u"\"C:\\Program Files\\..\\Users\\me\\snapquery.exe\"", false},
        {u"\"C:\\Program FilesX\\snapquery.exe\"", false},
        {u"\"%ProgramFiles%\\Snapquery\\snapquery.exe\"", false},
        {u"\"\\\\server\\share\\snapquery.exe\"", false},
        {u"\"C:\\Program Files", false},
    };
    for (auto [command, counts] : rows)
        EXPECT_EQ(StartsFromAdministratorsFolder(command, kAdminFolders), counts)
            << std::string(command, command + std::char_traits<char16_t>::length(command));
}

TEST(Settings, AMachineWideEntryOneUserCouldReplaceIsOffAndStaysQuietlyForAStandardUser) {
    FakeRegistry reg;
    const std::u16string planted = u"\"C:\\Users\\me\\snapquery.exe\"";
    reg.Set(LM, kRun, u"SNQ", RegType::Sz, Utf16Bytes(planted));
    reg.machine = Access::ReadOnly;
    TSettings settings(reg, Keys(), kExe, {}, AdminFolders);
    EXPECT_FALSE(settings.RunsAtStartup());
    // Ticking adds this user's own entry; unticking removes it and says
    // nothing of the one this user may not delete.
    bool mark = false;
    ToggleRun(settings, mark);
    ToggleRun(settings, mark);
    EXPECT_FALSE(mark);
    EXPECT_EQ(settings.UnsafeMachineRunCommand(), planted);
    EXPECT_FALSE(settings.RemoveUnsafeMachineRunEntries());
    // The administrator's consent goes to this program only where one user
    // cannot swap its file; else to reg.exe, for the view that holds it.
    EXPECT_EQ(settings.StartEntryRemovals(u"S:"), (std::vector<ElevatedRun>{{kExe, u"/RemoveMachineStartEntry"}}));
    EXPECT_EQ(TSettings(reg, Keys(), u"C:\\Users\\me\\snapquery.exe", {}, AdminFolders).StartEntryRemovals(u"S:"),
              (std::vector<ElevatedRun>{{u"S:\\reg.exe", u"delete \"HKLM\\" + kRun + u"\" /v SNQ /f /reg:32"}}));
}

TEST(Settings, WhenTheMachineHiveIsRefusedEverythingWorksFromTheUserHive) {
    FakeRegistry reg;
    reg.machine = Access::None;
    TSettings settings(reg, Keys(), kExe);
    bool browserMark = true, runMark = true;
    Popup(settings, browserMark, runMark);
    EXPECT_EQ(reg.Text(CU, kSettings, u"Default"), u"No");
    EXPECT_FALSE(browserMark);
    ToggleBrowser(settings, browserMark);
    EXPECT_EQ(reg.Text(CU, kSettings, u"Default"), u"Yes");
    EXPECT_FALSE(settings.Read().useInternetExplorer);

    ToggleRun(settings, runMark);
    EXPECT_TRUE(runMark);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), kQuotedExe);
    ToggleRun(settings, runMark);
    EXPECT_FALSE(runMark);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), std::nullopt);
}

TEST(Settings, AnEntryInEitherHiveCountsAndTurningOffRemovesBoth) {
    FakeRegistry reg;
    reg.Set(CU, kRun, u"SNQ", RegType::Sz, Utf16Bytes(kExe));
    TSettings settings(reg, Keys(), kExe, {}, AdminFolders);
    EXPECT_TRUE(settings.RunsAtStartup());
    reg.Set(LM, kRun, u"SNQ", RegType::Sz, Utf16Bytes(kExe));
    bool mark = true;
    ToggleRun(settings, mark);
    EXPECT_FALSE(mark);
    EXPECT_EQ(reg.Text(LM, kRun, u"SNQ"), std::nullopt);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), std::nullopt);
}

TEST(Settings, WithNoWritableHiveTheErrorsStandAndMarksStay) {
    FakeRegistry reg;
    reg.machine = reg.user = Access::None;
    TSettings settings(reg, Keys(), kExe);
    EXPECT_EQ(ErrorOf([&] { settings.Read(); }), u"Failed to set data for 'Default'");
    EXPECT_FALSE(settings.RunsAtStartup());
    bool mark = false;
    EXPECT_EQ(ErrorOf([&] { ToggleRun(settings, mark); }),
              u"Failed to set data for 'SNQ'");
    EXPECT_FALSE(mark);
    bool browserMark = true;
    EXPECT_EQ(ErrorOf([&] { ToggleBrowser(settings, browserMark); }),
              u"Failed to set data for 'Default'");
    EXPECT_TRUE(browserMark);
    // Deleting where nothing can be opened is silent.
    settings.DontRunOnWinStart(u"SNQ");

    // A key that opens but refuses the write gives the same error.
    FakeRegistry readOnly;
    readOnly.failWrites = true;
    TSettings other(readOnly, Keys(), kExe);
    EXPECT_EQ(ErrorOf([&] { other.Read(); }), u"Failed to set data for 'Default'");
}

// A standard user: the machine's keys can be read but not written.
TEST(Settings, AMachineWideEntryThatCannotBeDeletedIsShownAndReported) {
    FakeRegistry reg;
    reg.Set(LM, kRun, u"SNQ", RegType::Sz, Utf16Bytes(kQuotedExe));
    reg.Set(CU, kRun, u"SNQ", RegType::Sz, Utf16Bytes(kExe)); // an older, unquoted one
    reg.machine = Access::ReadOnly;
    TSettings settings(reg, Keys(), kExe, {}, AdminFolders);
    bool browserMark = false, runMark = false;
    Popup(settings, browserMark, runMark);
    EXPECT_TRUE(runMark) << "the machine-wide entry counts";
    EXPECT_EQ(ErrorOf([&] { ToggleRun(settings, runMark); }),
              u"Failed to delete value 'SNQ'");
    EXPECT_TRUE(runMark) << "the entry still starts the program";
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), std::nullopt) << "the per-user one went";
    EXPECT_EQ(reg.Text(LM, kRun, u"SNQ"), kQuotedExe);
    // Ticking never adds a per-user copy beside a machine-wide entry.
    settings.RunOnWinStart(u"SNQ", settings.RunCommand());
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), std::nullopt);
}

TEST(Settings, AReadOnlyMachineHiveSendsTheTogglesToTheUserHive) {
    FakeRegistry reg;
    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(u"Yes"));
    reg.machine = Access::ReadOnly;
    TSettings settings(reg, Keys(), kExe);
    bool browserMark = true, runMark = true;
    Popup(settings, browserMark, runMark);
    // "Default" lives in the hive that the toggle writes: the user's.
    EXPECT_EQ(reg.Text(CU, kSettings, u"Default"), u"No");
    EXPECT_FALSE(browserMark);
    EXPECT_FALSE(runMark);
    ToggleBrowser(settings, browserMark);
    Popup(settings, browserMark, runMark);
    EXPECT_TRUE(browserMark) << "the toggle is read back";
    EXPECT_FALSE(settings.Read().useInternetExplorer);

    ToggleRun(settings, runMark);
    EXPECT_TRUE(runMark);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), kQuotedExe);
    EXPECT_EQ(reg.Text(LM, kRun, u"SNQ"), std::nullopt);
    ToggleRun(settings, runMark);
    EXPECT_FALSE(runMark);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), std::nullopt);
}

TEST(Settings, AMachineHiveWithNoAccessLeavesOnlyTheUsersEntryInPlay) {
    FakeRegistry reg;
    reg.Set(LM, kRun, u"SNQ", RegType::Sz, Utf16Bytes(kQuotedExe)); // invisible to this user
    reg.machine = Access::None;
    TSettings settings(reg, Keys(), kExe);
    EXPECT_FALSE(settings.RunsAtStartup());
    bool mark = false;
    ToggleRun(settings, mark);
    EXPECT_TRUE(mark);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), kQuotedExe);
    ToggleRun(settings, mark);
    EXPECT_FALSE(mark);
    EXPECT_EQ(reg.Text(CU, kRun, u"SNQ"), std::nullopt);
}

TEST(SettingsChoices, NothingStoredGivesTheDefaultsAndAQuietReadWritesNothing) {
    FakeRegistry reg;
    TSettings settings(reg, Keys(), kExe);
    EXPECT_EQ(settings.Read(BrowserModeRead::Quietly), UserChoices{});
    EXPECT_EQ(UserChoices{}.hotKey, 0x4047u) << "Ctrl+G";
    EXPECT_EQ(reg.Text(LM, kSettings, u"Default"), std::nullopt) << "reading writes nothing";
}

TEST(SettingsChoices, AreStoredBesideDefaultAndReadBack) {
    FakeRegistry reg;
    reg.machine = Access::ReadOnly; // a standard user: the user's hive
    TSettings settings(reg, Keys(), kExe);
    UserChoices choices;
    choices.hotKey = 0x6047;
    choices.searchTemplate = u"https://duckduckgo.com/?q={query}";
    choices.copySelection = true;
    settings.Write(choices);
    EXPECT_EQ(reg.Text(CU, kSettings, u"HotKey"), u"Ctrl+Shift+G");
    EXPECT_EQ(reg.Text(CU, kSettings, u"SearchAddress"), u"https://duckduckgo.com/?q={query}");
    EXPECT_EQ(reg.Text(CU, kSettings, u"CopySelection"), u"Yes");
    EXPECT_EQ(reg.Text(CU, kSettings, u"OpenAddresses"), u"No");
    EXPECT_EQ(reg.Text(CU, kSettings, u"Default"), std::nullopt) << "the menu writes the browser mode";
    EXPECT_EQ(settings.Read(), choices);
    // An empty hotkey is "none", which is not "not stored".
    choices.hotKey = 0;
    choices.openAddresses = true;
    settings.Write(choices);
    EXPECT_EQ(reg.Text(CU, kSettings, u"HotKey"), u"");
    EXPECT_EQ(settings.Read(), choices);
}

TEST(SettingsChoices, ValuesThatCannotBeUsedAreTheirDefaultsSilently) {
    FakeRegistry reg;
    reg.Set(LM, kSettings, u"HotKey", RegType::Dword, {1, 0, 0, 0});
    reg.Set(LM, kSettings, u"SearchAddress", RegType::Binary, {1, 2});
    reg.Set(LM, kSettings, u"CopySelection", RegType::Sz, Utf16Bytes(u"yes"));
    reg.Set(LM, kSettings, u"OpenAddresses", RegType::Dword, {1, 0, 0, 0});
    TSettings settings(reg, Keys(), kExe);
    EXPECT_EQ(settings.Read(BrowserModeRead::Quietly), UserChoices{}) << "only an exact Yes";
    for (const char16_t* text : {u"Ctrl+Nonsense", u"Ctrl+C", u"G", u"Ctrl"}) {
        reg.Set(LM, kSettings, u"HotKey", RegType::Sz, Utf16Bytes(text));
        EXPECT_EQ(settings.Read().hotKey, kDefaultHotKey) << std::u16string(text).size();
    }
    reg.Set(LM, kSettings, u"SearchAddress", RegType::Sz, Utf16Bytes(u"file:///C:/{query}"));
    EXPECT_EQ(settings.Read().searchTemplate, u"");
    // No hive at all: still no error for a quiet read.
    FakeRegistry none;
    none.machine = none.user = Access::None;
    TSettings locked(none, Keys(), kExe);
    EXPECT_EQ(locked.Read(BrowserModeRead::Quietly), UserChoices{});
    EXPECT_EQ(ErrorOf([&] { locked.Write(UserChoices{}); }), u"Failed to set data for 'HotKey'");
}

TEST(SettingsChoices, ATemplateIsCheckedAgainstTheLimitOfTheBrowserThatOpensIt) {
    FakeRegistry reg;
    const std::u16string long1000 = u"https://x.example/?q={query}&p=" + std::u16string(1000, u'a');
    reg.Set(LM, kSettings, u"SearchAddress", RegType::Sz, Utf16Bytes(long1000));
    TSettings settings(reg, Keys(), kExe, AddressLimits{768, 2048});
    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(u"Yes")); // the shell: 768
    EXPECT_EQ(settings.Read().searchTemplate, u"") << "the search and the window would use Google";
    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(u"No")); // automation: 2,048
    EXPECT_EQ(settings.Read().searchTemplate, long1000);
    // A profile's template the same way.
    reg.keys[{LM, Lower(kSettings + u"\\Profiles")}];
    reg.Set(LM, kSettings + u"\\Profiles\\1", u"Name", RegType::Sz, Utf16Bytes(u"Long"));
    reg.Set(LM, kSettings + u"\\Profiles\\1", u"SearchAddress", RegType::Sz, Utf16Bytes(long1000));
    EXPECT_EQ(settings.Read().profiles.size(), 1u);
    reg.Set(LM, kSettings, u"Default", RegType::Sz, Utf16Bytes(u"Yes"));
    EXPECT_EQ(settings.Read().profiles.size(), 0u);
}

namespace {
std::vector<std::u16string> g_traces;
} // namespace

TEST(SettingsChoices, AStoredHotkeyThatALayoutTypesWithIsSetAsideWhenTheLayoutsAreAsked) {
    snq::testing::FakeKeyboard keyboard;
    keyboard.loaded = {0x407};
    keyboard.layoutNames = {{0x407, u"German (Germany)"}};
    keyboard.ctrlAlt = {{{0x407, 'E', false}, {1, u"\u20ac"}}, {{0x407, 'Q', false}, {1, u"@"}}};
    THotKeyText keys(keyboard);
    FakeRegistry reg;
    reg.Set(LM, kSettings, u"HotKey", RegType::Sz, Utf16Bytes(u"Ctrl+Alt+E"));
    reg.keys[{LM, Lower(kSettings + u"\\Profiles")}];
    reg.Set(LM, kSettings + u"\\Profiles\\1", u"Name", RegType::Sz, Utf16Bytes(u"Wiki"));
    reg.Set(LM, kSettings + u"\\Profiles\\1", u"SearchAddress", RegType::Sz, Utf16Bytes(u"https://w.example/?q={query}"));
    reg.Set(LM, kSettings + u"\\Profiles\\1", u"HotKey", RegType::Sz, Utf16Bytes(u"Ctrl+Alt+Q"));
    TSettings settings(reg, keys, kExe);
    // On the way of a key press or a search the layouts are not asked.
    EXPECT_EQ(settings.Read(BrowserModeRead::Quietly).hotKey, 0xC045u);
    g_traces.clear();
    const TraceSink previous = SetTraceSink([](std::u16string_view line) { g_traces.emplace_back(line); });
    const UserChoices choices = settings.Read(BrowserModeRead::Quietly, LayoutCheck::Apply);
    SetTraceSink(previous);
    EXPECT_EQ(choices.hotKey, kDefaultHotKey);
    ASSERT_EQ(choices.profiles.size(), 1u);
    EXPECT_EQ(choices.profiles[0].hotKey, 0u);
    const std::vector<SetAsideHotKey> setAside = {
        {u"", 0xC045, {HotKeyProblem::TypesCharacter, u"\u20ac", u"German (Germany)"}},
        {u"Wiki", 0xC051, {HotKeyProblem::TypesCharacter, u"@", u"German (Germany)"}}};
    EXPECT_EQ(choices.setAside, setAside);
    ASSERT_EQ(g_traces.size(), 2u);
    EXPECT_NE(g_traces[1].find(u"\"Ctrl+Alt+Q\" of \"Wiki\" is not in force: it types @ on German (Germany)"),
              std::u16string::npos);
}

TEST(SettingsProfiles, AreReadInOrderCheckedAndWrittenBackToTheirSlots) {
    struct Stored {
        int slot;
        const char16_t *name, *address, *hotKey; // nullptr: the value is missing
    };
    const std::u16string wiki = u"https://www.wikipedia.org/search-redirect.php?search={query}";
    const std::u16string maps = u"https://www.google.com/maps/search/?api=1&query={query}";
    const Stored stored[] = {
        {1, u" Wikipedia ", wiki.c_str(), u"Ctrl+Alt+W"},
        {2, u"", maps.c_str(), nullptr},                    // no name: skipped
        {3, u"Maps", u"ftp://x/{query}", nullptr},          // no usable address: skipped
        {5, u"Maps", maps.c_str(), u"Ctrl+G"},              // the main hotkey's: none
        {6, u"Tab\tbed", maps.c_str(), nullptr},            // a control character: skipped
        {7, u"Again", wiki.c_str(), u"Ctrl+Alt+W"},         // an earlier profile's: none
        {8, u"Typed", wiki.c_str(), u"W"},                  // refused: none
        {9, u"Last", maps.c_str(), u""},
    };
    FakeRegistry reg;
    reg.keys[{LM, Lower(kSettings + u"\\Profiles")}]; // a parent of the slots, as in the registry
    for (const Stored& s : stored) {
        const std::u16string key = kSettings + u"\\Profiles\\" + static_cast<char16_t>(u'0' + s.slot);
        reg.Set(LM, key, u"Name", RegType::Sz, Utf16Bytes(s.name));
        reg.Set(LM, key, u"SearchAddress", RegType::Sz, Utf16Bytes(s.address));
        if (s.hotKey) reg.Set(LM, key, u"HotKey", RegType::Sz, Utf16Bytes(s.hotKey));
    }
    TSettings settings(reg, Keys(), kExe);
    UserChoices choices = settings.Read();
    const std::vector<SearchProfile> expected = {{u"Wikipedia", wiki, 0xC057}, {u"Maps", maps, 0},
                                                 {u"Again", wiki, 0}, {u"Typed", wiki, 0},
                                                 {u"Last", maps, 0}};
    EXPECT_EQ(choices.profiles, expected);

    // Written back, they fill slots 1 to 5 and the others go.
    choices.profiles.erase(choices.profiles.begin() + 1);
    settings.Write(choices);
    EXPECT_EQ(reg.Text(LM, kSettings + u"\\Profiles\\1", u"HotKey"), u"Ctrl+Alt+W");
    EXPECT_EQ(reg.Text(LM, kSettings + u"\\Profiles\\2", u"Name"), u"Again");
    EXPECT_EQ(reg.Find(LM, kSettings + u"\\Profiles\\5"), nullptr);
    EXPECT_EQ(reg.Find(LM, kSettings + u"\\Profiles\\9"), nullptr);
    EXPECT_EQ(settings.Read().profiles, choices.profiles);
}

TEST(Policies, AMachineValueWinsOverTheUsersAndWhatCannotBeUsedCountsAsNotSet) {
    const auto dword = [](std::uint32_t n) {
        return RegValue{RegType::Dword, {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
    };
    const auto text = [](std::u16string_view t) { return RegValue{RegType::Sz, Utf16Bytes(t)}; };
    const std::u16string wiki = u"https://w.example/?q={query}";
    struct Row {
        const char16_t* name;
        std::optional<RegValue> machine, user;
        Policies decided;
    };
    const Row rows[] = {
        {u"CopySelection", std::nullopt, std::nullopt, {}},
        {u"CopySelection", dword(0), std::nullopt, {.copySelection = false}},
        {u"CopySelection", dword(1), dword(0), {.copySelection = true}},           // the machine's wins
        {u"CopySelection", text(u"1"), dword(0), {.copySelection = false}},        // a wrong type: the user's
        {u"CopySelection", dword(2), std::nullopt, {}},                           // neither 0 nor 1
        {u"AllowSettings", std::nullopt, dword(0), {.allowSettings = false}},
        {u"SearchAddress", text(wiki), std::nullopt, {.searchAddress = wiki}},
        {u"SearchAddress", text(u"file:///C:/{query}"), text(wiki), {.searchAddress = wiki}},
        {u"SearchAddress", dword(1), std::nullopt, {}},
        {u"SearchAddress", RegValue{RegType::Binary, Utf16Bytes(wiki)}, std::nullopt, {}},  // other types,
        {u"SearchAddress", RegValue{RegType::Other, Utf16Bytes(wiki)}, std::nullopt, {}},   // usable bytes
        {u"HotKey", text(u"Ctrl+Shift+G"), std::nullopt, {.hotKey = 0x6047u}},
        {u"HotKey", text(u"None"), std::nullopt, {.hotKey = 0u}},
        {u"HotKey", text(u"Ctrl+V"), std::nullopt, {}},                           // refused as the user's is
        {u"HotKey", text(u"Ctrl+Nonsense"), text(u"Alt+F5"), {.hotKey = 0x8074u}},
        {u"Language", text(u"ZH-hant"), std::nullopt, {.language = u"zh-Hant"}},
        {u"Language", text(u"xx"), std::nullopt, {}},
        {u"Browser", text(u"Firefox-308046B0AF4A39CB"), std::nullopt, {.browser = u"Firefox-308046B0AF4A39CB"}},
        {u"Browser", text(u"Clients\\Firefox"), std::nullopt, {}},             // not a key's name
        {u"AllowPrivateWindow", dword(0), std::nullopt, {.allowPrivateWindow = false}},
    };
    const std::u16string policyKey(kPolicyKey);
    for (const Row& row : rows) {
        FakeRegistry reg;
        if (row.machine) reg.Set(LM64, policyKey, row.name, row.machine->type, row.machine->data);
        if (row.user) reg.Set(CU, policyKey, row.name, row.user->type, row.user->data);
        EXPECT_EQ(ReadPolicies(reg, &Keys(), LayoutCheck::Skip), row.decided)
            << std::string(row.name, row.name + std::char_traits<char16_t>::length(row.name));
    }
}

TEST(Policies, DecideTheChoicesInForceAndNothingElse) {
    UserChoices user;
    user.useInternetExplorer = false;
    user.copySelection = true;
    user.hotKey = 0xC057;
    user.language = u"de";
    user.profiles = {{u"Wiki", u"https://w.example/?q={query}", 0x6047}};
    EXPECT_EQ(InForce(user, {}, {}), user) << "no policy: the user's own";
    const std::u16string maps = u"https://m.example/?q={query}";
    Policies policies{.searchAddress = maps, .useDefaultBrowser = false, .copySelection = false,
                      .hotKey = 0x6047u, .language = u"fr"};
    UserChoices expected = user;
    expected.useInternetExplorer = true;
    expected.searchTemplate = maps;
    expected.copySelection = false;
    expected.hotKey = 0x6047;
    expected.language = u"fr";
    expected.profiles[0].hotKey = 0; // the main search's now
    EXPECT_EQ(InForce(user, policies, {}), expected);
    // Profiles not allowed; an address the browser in force cannot take.
    const std::u16string tooLong = u"https://x.example/?q={query}&p=" + std::u16string(1000, u'a');
    expected = user;
    expected.profiles.clear();
    EXPECT_EQ(InForce(user, {.searchAddress = tooLong, .allowProfiles = false}, AddressLimits{768, 2048}), expected);
    // A browser for every search, the profiles' too, and no private window.
    user.privateWindow = user.profiles[0].privateWindow = true;
    user.profiles[0].browser = u"Other";
    expected = user;
    expected.useInternetExplorer = false;
    expected.browser = u"Firefox";
    expected.privateWindow = expected.profiles[0].privateWindow = false;
    expected.profiles[0].browser.clear();
    EXPECT_EQ(InForce(user, {.useDefaultBrowser = false, .browser = u"Firefox", .allowPrivateWindow = false}, {}),
              expected);
}
