#pragma once
// A search asked for on the command line, and how it ends:
//   snapquery /search [text] [/profile name] [/private]
// Options in any order, "-" as good as "/", their names without regard to
// case. A running copy receives the arguments themselves.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snq {

struct CommandRequest {
    bool usage = false;                 // "/?"
    std::optional<std::u16string> text; // after /search; none: the clipboard's
    std::optional<std::u16string> profile;
    bool privateWindow = false;
    bool operator==(const CommandRequest&) const = default;
};

// The process's exit code.
enum class CommandExit : int {
    Searched = 0,
    BadArguments = 1,
    NoSuchProfile = 2,
    NothingToSearch = 3,
    Refused = 4, // by a policy
    Failed = 5,
};

// The request the arguments (the program's name left out) make; nothing
// when they make none: no /search, an unknown option, a value missing, one
// given twice, or anything left over.
std::optional<CommandRequest> ParseCommandLine(const std::vector<std::u16string>& args);

// The arguments as one text, each ended by a zero (as the running copy
// receives them), and back.
std::u16string JoinArguments(const std::vector<std::u16string>& args);
std::vector<std::u16string> SplitArguments(std::u16string_view joined);

} // namespace snq
