#pragma once
// The machine-wide start entry's side of the system: which folders only
// administrators may write, and the elevated removal of an entry one user
// could abuse.
#include <windows.h>

#include <string>
#include <vector>

namespace snq {

// The switch with which the program removes, elevated, the machine-wide
// start entries that do not count (TSettings::RemoveUnsafeMachineRunEntries)
// and does nothing else.
inline constexpr wchar_t kRemoveStartEntrySwitch[] = L"/RemoveMachineStartEntry";

// Program Files (both) and the Windows folder, as the system names them
// (never from the environment, which the user sets).
std::vector<std::u16string> AdministratorsFolders();

// Starts this program with the removal switch, asking for elevation, and
// waits for it (serving this program's messages); false when the user
// declined or it could not start.
bool RemoveStartEntryElevated(HWND owner);

// The removal itself, in the elevated copy: 0 when no such entry remains.
int RunStartEntryRemoval();

} // namespace snq
