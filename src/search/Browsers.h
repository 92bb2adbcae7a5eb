#pragma once
// The browsers a search can open in besides the default browser and
// Internet Explorer by automation: those Windows lists as installed, each
// started with its own program, and the switch that opens its private
// window.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Registry.h"

namespace snq {

// A browser as Windows lists it under SOFTWARE\Clients\StartMenuInternet.
struct InstalledBrowser {
    std::u16string key;     // the key's name: what the "Browser" setting stores
    std::u16string name;    // the key's default value: what the user sees
    std::u16string program; // from shell\open\command: the program's path
    bool operator==(const InstalledBrowser&) const = default;
};

// The installed browsers: the user's, then the machine's (64-bit view, then
// 32-bit), each key once; those without a name or a program left out.
std::vector<InstalledBrowser> InstalledBrowsers(IRegistry& registry);

// The program of the installed browser whose key is `key` (without regard
// to case), or empty when there is none.
std::u16string BrowserProgram(IRegistry& registry, std::u16string_view key);

// The program of the browser that opens https addresses for the user (the
// association's UserChoice ProgId and its open command), or empty.
std::u16string DefaultBrowserProgram(IRegistry& registry);

// How a search opens in `browser` (a key; empty, or one no longer
// installed: the default browser), in a private window when asked and the
// browser has a switch for one: its program and that switch; nothing when
// the default browser opens it as the shell does.
struct BrowserStart {
    std::u16string program;
    std::u16string_view privateSwitch;
};
std::optional<BrowserStart> BrowserStartFor(IRegistry& registry, std::u16string_view browser, bool privateWindow);

// Whether a search can open in a private window in `browser` (as above),
// or with none chosen in Internet Explorer (`internetExplorer`): never by
// automation.
bool OpensPrivately(IRegistry& registry, std::u16string_view browser, bool internetExplorer);

// The program a registered command starts: its quoted first part, or an
// unquoted path up to its ".exe".
std::u16string ProgramOfCommand(std::u16string_view command);

// The switch that opens a private window in `program` (known by its file
// name), or empty when the browser has none known.
std::u16string_view PrivateSwitch(std::u16string_view program);

// The command line that opens `address` in `program`, after `privateSwitch`
// when there is one; nothing when the program is not a full path, or the
// address could be read as more than one argument (empty, or holding a
// quote, a space or a control character): an address is percent-encoded
// and so never holds them.
std::optional<std::u16string> BrowserCommandLine(std::u16string_view program, std::u16string_view privateSwitch,
                                                 std::u16string_view address);

} // namespace snq
