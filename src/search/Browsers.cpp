#include "search/Browsers.h"

#include "framework/Text.h"
#include "framework/Trace.h"

namespace snq {

namespace {

// The default value of the key `path`, or empty.
std::u16string DefaultOf(IRegistry& registry, RootKey root, std::u16string_view path) {
    const auto key = registry.OpenKeyReadOnly(root, path);
    const auto value = key ? key->Read(u"") : std::nullopt;
    return value && (value->type == RegType::Sz || value->type == RegType::ExpandSz) ? TextOf(*value) : u"";
}

constexpr std::u16string_view kClients = u"SOFTWARE\\Clients\\StartMenuInternet\\";
constexpr std::u16string_view kOpenCommand = u"\\shell\\open\\command";

} // namespace

std::vector<InstalledBrowser> InstalledBrowsers(IRegistry& registry) {
    std::vector<InstalledBrowser> browsers;
    for (const RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine64, RootKey::LocalMachine})
        for (std::u16string& key : registry.SubkeyNames(root, kClients.substr(0, kClients.size() - 1))) {
            bool listed = false;
            for (const InstalledBrowser& browser : browsers) listed |= SameAsciiText(browser.key, key);
            std::u16string path = std::u16string(kClients) + key;
            std::u16string name = DefaultOf(registry, root, path);
            std::u16string program = ProgramOfCommand(DefaultOf(registry, root, path += kOpenCommand));
            if (!listed && !name.empty() && !program.empty())
                browsers.push_back({std::move(key), std::move(name), std::move(program)});
        }
    return browsers;
}

std::u16string BrowserProgram(IRegistry& registry, std::u16string_view key) {
    for (InstalledBrowser& browser : InstalledBrowsers(registry))
        if (SameAsciiText(browser.key, key)) return std::move(browser.program);
    return {};
}

std::u16string DefaultBrowserProgram(IRegistry& registry) {
    const auto choice = registry.OpenKeyReadOnly(
        RootKey::CurrentUser, u"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\https\\UserChoice");
    const auto progId = choice ? choice->Read(u"ProgId") : std::nullopt;
    if (!progId || progId->type != RegType::Sz) return {};
    // Where Windows merges the classes from: the user's, then the machine's.
    const std::u16string path = u"Software\\Classes\\" + TextOf(*progId) + std::u16string(kOpenCommand);
    for (const RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine64})
        if (std::u16string program = ProgramOfCommand(DefaultOf(registry, root, path)); !program.empty())
            return program;
    return {};
}

std::optional<BrowserStart> BrowserStartFor(IRegistry& registry, std::u16string_view browser, bool privateWindow) {
    BrowserStart start{browser.empty() ? u"" : BrowserProgram(registry, browser), {}};
    if (!browser.empty() && start.program.empty()) Trace(u"the chosen browser is not installed: the default one opens");
    const bool chosen = !start.program.empty();
    if (!chosen && privateWindow) start.program = DefaultBrowserProgram(registry);
    if (privateWindow) {
        start.privateSwitch = PrivateSwitch(start.program);
        if (start.privateSwitch.empty()) Trace(u"no private window: no switch is known for the browser");
    }
    // The default browser in a usual window: as the shell opens it.
    if (!chosen && start.privateSwitch.empty()) return std::nullopt;
    return start;
}

bool OpensPrivately(IRegistry& registry, std::u16string_view browser, bool internetExplorer) {
    if (browser.empty() && internetExplorer) return false;
    const auto start = BrowserStartFor(registry, browser, true);
    return start && !start->privateSwitch.empty();
}

std::u16string ProgramOfCommand(std::u16string_view command) {
    while (!command.empty() && command.front() == u' ') command.remove_prefix(1);
    if (!command.empty() && command.front() == u'"') {
        const std::size_t end = command.find(u'"', 1);
        return end == std::u16string_view::npos ? u"" : std::u16string(command.substr(1, end - 1));
    }
    for (std::size_t at = 0; at + 4 <= command.size(); ++at)
        if (SameAsciiText(command.substr(at, 4), u".exe") && (at + 4 == command.size() || command[at + 4] == u' '))
            return std::u16string(command.substr(0, at + 4));
    return {};
}

std::u16string_view PrivateSwitch(std::u16string_view program) {
    static constexpr struct {
        std::u16string_view file, privateSwitch;
    } kSwitches[] = {
        {u"msedge.exe", u"--inprivate"},      {u"chrome.exe", u"--incognito"},
        {u"chromium.exe", u"--incognito"},    {u"brave.exe", u"--incognito"},
        {u"vivaldi.exe", u"--incognito"},     {u"firefox.exe", u"-private-window"},
        {u"librewolf.exe", u"-private-window"}, {u"waterfox.exe", u"-private-window"},
        {u"opera.exe", u"--private"},
    };
    const std::size_t slash = program.find_last_of(u"\\/");
    const std::u16string_view file = slash == std::u16string_view::npos ? program : program.substr(slash + 1);
    for (const auto& known : kSwitches)
        if (SameAsciiText(file, known.file)) return known.privateSwitch;
    return {};
}

std::optional<std::u16string> BrowserCommandLine(std::u16string_view program, std::u16string_view privateSwitch,
                                                 std::u16string_view address) {
    // Only a full path: a bare name would be looked for in the current folder.
    const bool full = program.size() > 2 && (program.starts_with(u"\\\\") || program.substr(1, 2) == u":\\");
    if (address.empty() || !full || program.find(u'"') != std::u16string_view::npos) return std::nullopt;
    for (const char16_t c : address)
        if (c <= u' ' || c == u'"' || (c >= 0x7F && c <= 0x9F)) return std::nullopt;
    std::u16string line = u"\"" + std::u16string(program) + u"\" ";
    if (!privateSwitch.empty()) line += std::u16string(privateSwitch) + u" ";
    return line + std::u16string(address);
}

} // namespace snq
