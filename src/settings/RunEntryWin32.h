#pragma once
// The machine-wide start entry's side of the system: which folders only
// administrators may write, and the elevated removal of an entry one user
// could abuse.
#include <windows.h>

#include <string>
#include <vector>

#include "settings/Settings.h"

namespace snq {

// Program Files (both) and the Windows folder, as the system names them
// (never from the environment, which the user sets).
std::vector<std::u16string> AdministratorsFolders();

// Starts each of `runs` in turn, asking for elevation, and waits for it
// (serving this program's messages); false when the user declined. Whether
// the entries went is for the caller to read again.
bool RunElevated(HWND owner, const std::vector<ElevatedRun>& runs);
// Windows' System32 folder, as the system names it.
std::u16string SystemFolder();

// The removal itself, in the elevated copy: 0 when no such entry remains.
int RunStartEntryRemoval();

} // namespace snq
