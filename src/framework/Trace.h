#pragma once
// Traces of what the program deliberately passes over (a stored value it
// cannot use, say): never shown to the user, for an administrator's or a
// developer's debugger (DebugView and the like). The Win32 side sends them
// to OutputDebugString; tests may catch them.
#include <string_view>

namespace snq {

using TraceSink = void (*)(std::u16string_view line);

// Where traces go from now on (nothing: nowhere); returns the previous sink.
TraceSink SetTraceSink(TraceSink sink) noexcept;
// "Snapquery: " and `line`, to the sink.
void Trace(std::u16string_view line) noexcept;

} // namespace snq
