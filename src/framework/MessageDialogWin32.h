#pragma once
// Shows message dialogs: as a task dialog when visual styles are active,
// otherwise as the classic message form.
#include <string_view>

#include "framework/MessageDialog.h"

namespace snq {

enum class DialogRendering { Automatic, TaskDialog, Classic };

// Modal; returns the result of the button that closed the dialog.
int MessageDlg(std::wstring_view text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext,
               DialogRendering rendering = DialogRendering::Automatic);
// A plain message: the custom kind with OK.
void ShowMessage(std::wstring_view text);
// Whether message dialogs render as task dialogs here.
bool TaskDialogsAvailable();

} // namespace snq
