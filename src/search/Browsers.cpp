#include "search/Browsers.h"

#include "framework/Trace.h"

namespace snq {

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// The default value of `path`'s key, or empty.
std::u16string DefaultOf(IRegistry& registry, RootKey root, std::u16string_view path) {
    TRegistry reg(registry, root);
    return reg.OpenKeyReadOnly(path) ? reg.ReadStringIfAny(u"").value_or(u"") : u"";
}

} // namespace

std::vector<InstalledBrowser> InstalledBrowsers(IRegistry& registry) {
    constexpr std::u16string_view kClients = u"SOFTWARE\\Clients\\StartMenuInternet";
    std::vector<InstalledBrowser> browsers;
    for (const RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine64, RootKey::LocalMachine})
        for (const std::u16string& key : registry.SubkeyNames(root, kClients)) {
            bool listed = false;
            for (const InstalledBrowser& browser : browsers) listed |= SameText(browser.key, key);
            const std::u16string path = std::u16string(kClients) + u"\\" + key;
            InstalledBrowser browser{key, DefaultOf(registry, root, path),
                                     ProgramOfCommand(DefaultOf(registry, root, path + u"\\shell\\open\\command"))};
            if (!listed && !browser.name.empty() && !browser.program.empty()) browsers.push_back(std::move(browser));
        }
    return browsers;
}

std::optional<InstalledBrowser> FindBrowser(IRegistry& registry, std::u16string_view key) {
    for (InstalledBrowser& installed : InstalledBrowsers(registry))
        if (SameText(installed.key, key)) return std::move(installed);
    return std::nullopt;
}

std::u16string DefaultBrowserProgram(IRegistry& registry) {
    TRegistry choice(registry, RootKey::CurrentUser);
    if (!choice.OpenKeyReadOnly(
            u"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\https\\UserChoice"))
        return {};
    const std::u16string progId = choice.ReadStringIfAny(u"ProgId").value_or(u"");
    if (progId.empty()) return {};
    // Where Windows merges the classes from: the user's, then the machine's.
    const std::u16string path = u"Software\\Classes\\" + progId + u"\\shell\\open\\command";
    for (const RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine64})
        if (std::u16string program = ProgramOfCommand(DefaultOf(registry, root, path)); !program.empty())
            return program;
    return {};
}

std::optional<BrowserStart> BrowserStartFor(IRegistry& registry, std::u16string_view browser, bool privateWindow) {
    BrowserStart start;
    if (!browser.empty()) {
        if (const auto installed = FindBrowser(registry, browser))
            start.program = installed->program;
        else
            Trace(u"the browser \"" + std::u16string(browser) + u"\" is not installed: the default browser opens");
    }
    const bool chosen = !start.program.empty();
    if (!chosen && privateWindow) start.program = DefaultBrowserProgram(registry);
    if (privateWindow) {
        start.privateSwitch = PrivateSwitch(start.program);
        if (start.privateSwitch.empty()) Trace(u"no private window: no switch is known for \"" + start.program + u"\"");
    }
    // The default browser in a usual window: as the shell opens it.
    if (!chosen && start.privateSwitch.empty()) return std::nullopt;
    return start;
}

std::u16string ProgramOfCommand(std::u16string_view command) {
    while (!command.empty() && command.front() == u' ') command.remove_prefix(1);
    if (!command.empty() && command.front() == u'"') {
        const std::size_t end = command.find(u'"', 1);
        return end == std::u16string_view::npos ? u"" : std::u16string(command.substr(1, end - 1));
    }
    for (std::size_t at = 0; at + 4 <= command.size(); ++at)
        if (SameText(command.substr(at, 4), u".exe") && (at + 4 == command.size() || command[at + 4] == u' '))
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
        if (SameText(file, known.file)) return known.privateSwitch;
    return {};
}

std::optional<std::u16string> BrowserCommandLine(std::u16string_view program, std::u16string_view privateSwitch,
                                                 std::u16string_view address) {
    if (address.empty() || program.empty() || program.find(u'"') != std::u16string_view::npos) return std::nullopt;
    for (const char16_t c : address)
        if (c <= u' ' || c == u'"' || (c >= 0x7F && c <= 0x9F)) return std::nullopt;
    std::u16string line = u"\"" + std::u16string(program) + u"\" ";
    if (!privateSwitch.empty()) line += std::u16string(privateSwitch) + u" ";
    return line + std::u16string(address);
}

} // namespace snq
