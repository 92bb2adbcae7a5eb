#pragma once
#include <string>

namespace snq {

// Base of components that carry an informational version text.
class TVersionedComponent {
public:
    TVersionedComponent() : Version(u"1.3") {}
    virtual ~TVersionedComponent() = default;
    std::u16string Version;
};

} // namespace snq
