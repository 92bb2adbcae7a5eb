#include "framework/DynamicLibraryWin32.h"

namespace snq {

const CommonControls& Comctl() {
    static const CommonControls controls; // GUI thread only
    return controls;
}

} // namespace snq
