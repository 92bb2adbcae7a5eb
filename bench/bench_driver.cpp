// Measures snapquery.exe against the minimal baseline in the same run and
// prints one line per figure: the medians over the runs, the ratio and the
// goal. Runs under Wine (bench/run) or on Windows.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "Probe.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND TrayWindow(DWORD pid) {
    struct Find {
        DWORD pid;
        HWND found;
    } find{pid, nullptr};
    ::EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Find*>(p);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            if (owner == f->pid && !::IsWindowVisible(w) && probe::OwnsTrayIcon(w)) {
                f->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool HotKeyFree() {
    if (!::RegisterHotKey(nullptr, 0x7777, MOD_CONTROL, 'G')) return false;
    ::UnregisterHotKey(nullptr, 0x7777);
    return true;
}

struct Sample {
    double startupMs, privateKb, workingSetKb, idleCpuMs, searchMs;
    double hugeSearchMs, hugePeakKb; // a search with a 10 MB clipboard
};

// Commit charge, as Wine reports private bytes.
double PrivateKb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory));
    return static_cast<double>(std::max(memory.PrivateUsage, memory.PagefileUsage)) / 1024;
}

// Clicks the tray icon and waits for the recording browser's line number
// `line`; the time taken, and the highest private bytes seen meanwhile.
bool TimedSearch(HWND tray, HANDLE process, std::size_t line, double& ms, double& peakKb) {
    const std::wstring log = probe::BrowserLogPath();
    peakKb = PrivateKb(process);
    const double click = Now();
    ::PostMessageW(tray, WM_USER + 1, 0, WM_LBUTTONDOWN);
    ::PostMessageW(tray, WM_USER + 1, 0, WM_LBUTTONUP);
    bool done = false;
    while (!(done = probe::ReadLines(log).size() >= line) && Now() - click < 15000) {
        peakKb = std::max(peakKb, PrivateKb(process));
        ::Sleep(1);
    }
    ms = Now() - click;
    peakKb = std::max(peakKb, PrivateKb(process));
    return done;
}

bool Measure(const std::wstring& exe, int idleSeconds, Sample& out) {
    for (int i = 0; i < 200 && !HotKeyFree(); ++i) ::Sleep(25);
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    std::wstring line = L"\"" + exe + L"\"";
    const double start = Now();
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::WaitForInputIdle(pi.hProcess, 10000);
    HWND tray = nullptr;
    while (!(tray = TrayWindow(pi.dwProcessId)) && Now() - start < 15000) ::Sleep(1);
    out.startupMs = Now() - start;
    bool ok = tray != nullptr;
    if (ok) {
        ::Sleep(500);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof(memory);
        ::GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof(memory));
        // Wine leaves PrivateUsage at 0; the commit charge is the same figure.
        out.privateKb = static_cast<double>(std::max(memory.PrivateUsage, memory.PagefileUsage)) / 1024;
        out.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024;

        auto cpu = [&] {
            FILETIME created, exited, kernel, user;
            ::GetProcessTimes(pi.hProcess, &created, &exited, &kernel, &user);
            auto ms = [](FILETIME t) {
                return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                           t.dwLowDateTime) / 10000.0;
            };
            return ms(kernel) + ms(user);
        };
        const double before = cpu();
        ::Sleep(static_cast<DWORD>(idleSeconds) * 1000);
        out.idleCpuMs = cpu() - before;

        probe::SetClipboardText(L"bench query");
        ::DeleteFileW(probe::BrowserLogPath().c_str());
        double ignored = 0;
        ok = TimedSearch(tray, pi.hProcess, 1, out.searchMs, ignored);
        // A 10 MB clipboard: the address takes at most 2,048 characters of it.
        probe::SetClipboardText(std::wstring(10'000'000, L'z'));
        ok = ok && TimedSearch(tray, pi.hProcess, 2, out.hugeSearchMs, out.hugePeakKb);
    }
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return ok;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The DLLs in an executable's import table.
std::vector<std::string> Imports(const std::wstring& path) {
    std::vector<std::string> dlls;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return dlls;
    std::vector<unsigned char> bytes(::GetFileSize(file, nullptr));
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(bytes.data());
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
    auto* sections = IMAGE_FIRST_SECTION(nt);
    auto offset = [&](DWORD rva) -> std::size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const auto& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    const DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(bytes.data() + offset(importRva)); d->Name; ++d) {
        std::string name = reinterpret_cast<const char*>(bytes.data() + offset(d->Name));
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        dlls.push_back(name);
    }
    return dlls;
}

bool WindowsDll(const std::string& dll) {
    static const char* system[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll",
                                   "ole32.dll",    "oleaut32.dll", "advapi32.dll", "comctl32.dll",
                                   "uxtheme.dll",  "msvcrt.dll", "version.dll", "psapi.dll"};
    return std::any_of(std::begin(system), std::end(system), [&](const char* s) { return dll == s; }) ||
           dll.rfind("api-ms-win-", 0) == 0;
}

bool g_allMet = true;

void Line(const char* name, const char* unit, double ours, double base, const char* goal, bool ok) {
    g_allMet = g_allMet && ok;
    std::printf("%-16s snapquery %10.1f %-3s  baseline %10.1f %-3s  ratio %6.2f  goal %-14s %s\n", name,
                ours, unit, base, unit, base > 0 ? ours / base : 0.0, goal, ok ? "ok" : "MISS");
}

// Both programs hand their address to the same recording "browser", and
// Snapquery is set to the default browser.
void PrepareEdges() {
    probe::InstallRecordingBrowser();
    probe::SetBrowserMode(true);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    PrepareEdges();
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const int idleSeconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10;
    const std::wstring ours = probe::ExeDir() + L"snapquery.exe", base = probe::ExeDir() + L"baseline.exe";
    std::vector<Sample> a, b;
    for (int i = 0; i < runs; ++i) {
        Sample s{};
        if (!Measure(ours, idleSeconds, s)) return std::printf("bench: snapquery run %d failed\n", i), 1;
        a.push_back(s);
        if (!Measure(base, idleSeconds, s)) return std::printf("bench: baseline run %d failed\n", i), 1;
        b.push_back(s);
    }
    auto med = [](const std::vector<Sample>& v, double Sample::*f) {
        std::vector<double> x;
        for (const auto& s : v) x.push_back(s.*f);
        return Median(x);
    };
    std::printf("median of %d runs each, idle over %d s\n", runs, idleSeconds);
    const double su = med(a, &Sample::startupMs), sb = med(b, &Sample::startupMs);
    Line("startup", "ms", su, sb, "<= 1.5x", su <= 1.5 * sb);
    const double pu = med(a, &Sample::privateKb), pb = med(b, &Sample::privateKb);
    Line("private_bytes", "KB", pu, pb, "<= 1.3x", pu <= 1.3 * pb);
    const double wu = med(a, &Sample::workingSetKb), wb = med(b, &Sample::workingSetKb);
    Line("working_set", "KB", wu, wb, "<= 1.3x", wu <= 1.3 * wb);
    const double iu = med(a, &Sample::idleCpuMs), ib = med(b, &Sample::idleCpuMs);
    Line("idle_cpu", "ms", iu, ib, "0 ms", iu == 0);
    const double lu = med(a, &Sample::searchMs), lb = med(b, &Sample::searchMs);
    Line("search_latency", "ms", lu, lb, "<= 1.2x", lu <= 1.2 * lb);
    const double hu = med(a, &Sample::hugeSearchMs), hb = med(b, &Sample::hugeSearchMs);
    Line("huge_search", "ms", hu, hb, "<= 1.2x", hu <= 1.2 * hb);
    // The peak over the start-up figure: the baseline's is the clipboard's
    // own data, which Windows copies into the reading process.
    const double gu = med(a, &Sample::hugePeakKb) - pu, gb = med(b, &Sample::hugePeakKb) - pb;
    Line("huge_peak_over", "KB", gu, gb, "<= base+2MB", gu <= gb + 2048);
    auto size = [](const std::wstring& path) {
        WIN32_FILE_ATTRIBUTE_DATA info{};
        ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info);
        return static_cast<double>(info.nFileSizeLow) / 1024;
    };
    const double zu = size(ours), zb = size(base);
    Line("exe_size", "KB", zu, zb, "<= 300 KB", zu <= 300);
    for (const auto& [name, path] : {std::pair{"snapquery", ours}, std::pair{"baseline", base}}) {
        const auto dlls = Imports(path);
        const bool all = std::all_of(dlls.begin(), dlls.end(), WindowsDll);
        std::printf("imports %-9s %zu DLLs, %s:", name, dlls.size(), all ? "all Windows' own" : "FOREIGN");
        for (const auto& d : dlls) std::printf(" %s", d.c_str());
        std::printf("\n");
        g_allMet = g_allMet && all;
    }
    if (!g_allMet) std::printf("bench: a figure misses its goal\n");
    return g_allMet ? 0 : 1;
}
