#include "app/InstanceGuard.h"

namespace snq {

TRunOnce::~TRunOnce() {
    if (FCheckDone) host_.CloseGuardMutex();
}

void TRunOnce::Loaded() {
    const std::u16string title = host_.ApplicationTitle();
    FCheckDone = false;
    if (host_.CreateGuardMutex(title)) {
        if (OnExists) OnExists(*this);
        if (RestorePrevInst) {
            // Blank our own window's title first, so that the second lookup
            // finds the earlier instance's window rather than ours.
            host_.SetWindowTitle(host_.FindTopLevelWindow(title), u"");
            if (WindowId other = host_.FindTopLevelWindow(title)) {
                if (host_.IsIconic(other))
                    host_.Restore(other);
                else
                    host_.BringToTop(other);
            }
        }
        if (Terminate) {
            if (ShowMessage) host_.ShowInformation(MessageText);
            host_.TerminateApplication();
        }
    }
    FCheckDone = true;
}

} // namespace snq
