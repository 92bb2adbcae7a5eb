#include "framework/Trace.h"

#include <string>

namespace snq {

namespace {
TraceSink g_sink = nullptr;
} // namespace

TraceSink SetTraceSink(TraceSink sink) noexcept {
    const TraceSink previous = g_sink;
    g_sink = sink;
    return previous;
}

void Trace(std::u16string_view line) noexcept {
    if (!g_sink) return;
    try {
        g_sink(u"Snapquery: " + std::u16string(line) + u"\n");
    } catch (...) {
        // A trace that cannot be made is no error of the traced operation.
    }
}

} // namespace snq
