#include "app/CommandLine.h"

#include "framework/Text.h"

namespace snq {

namespace {

enum class Option { None, Search, Profile, Private, Usage };

Option OptionOf(std::u16string_view arg) {
    if (arg.size() < 2 || (arg[0] != u'/' && arg[0] != u'-')) return Option::None;
    arg.remove_prefix(1);
    if (arg == u"?") return Option::Usage;
    if (SameAsciiText(arg, u"search")) return Option::Search;
    if (SameAsciiText(arg, u"profile")) return Option::Profile;
    if (SameAsciiText(arg, u"private")) return Option::Private;
    return Option::None;
}

} // namespace

std::optional<CommandRequest> ParseCommandLine(const std::vector<std::u16string>& args) {
    CommandRequest request;
    bool search = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        // A value is the next argument, unless that is an option itself.
        const bool valueFollows = i + 1 < args.size() && OptionOf(args[i + 1]) == Option::None;
        switch (OptionOf(args[i])) {
        case Option::Usage:
            if (args.size() != 1) return std::nullopt;
            request.usage = true;
            return request;
        case Option::Search:
            if (search) return std::nullopt;
            search = true;
            if (valueFollows) request.text = args[++i];
            break;
        case Option::Profile:
            if (request.profile || !valueFollows) return std::nullopt;
            request.profile = args[++i];
            break;
        case Option::Private:
            if (request.privateWindow) return std::nullopt;
            request.privateWindow = true;
            break;
        case Option::None: return std::nullopt;
        }
    }
    if (!search) return std::nullopt;
    return request;
}

std::u16string JoinArguments(const std::vector<std::u16string>& args) {
    std::u16string joined;
    for (const std::u16string& arg : args) (joined += arg) += u'\0';
    return joined;
}

std::vector<std::u16string> SplitArguments(std::u16string_view joined) {
    std::vector<std::u16string> args;
    for (std::size_t end; (end = joined.find(u'\0')) != std::u16string_view::npos; joined.remove_prefix(end + 1))
        args.emplace_back(joined.substr(0, end));
    return args;
}

} // namespace snq
