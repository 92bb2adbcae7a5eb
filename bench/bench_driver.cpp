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
#include <map>
#include <utility>
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

constexpr DWORD kSettleMs = 200;

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

// How many searches each start measures: one search is a sample of a few
// milliseconds with jitter of the same size, so each start gives the median
// of several.
constexpr int kSearchesPerStart = 15;
constexpr int kHugeSearchesPerStart = 9;
// Start-up is one sample per start, with jitter of a third of it: each
// round starts each program this many times.
constexpr int kStartsPerRound = 7;

struct Sample {
    double startupMs, privateKb, workingSetKb, idleCpuMs, searchMs;
    double hugeSearchMs, hugePeakKb; // a search with a 10 MB clipboard
    double profilesStartupMs;        // Snapquery with nine search profiles; the baseline again
    double commandLineMs;            // "/search" handed to the running copy; the baseline: its start
};

// A round's starts and searches, of both programs: the median of the
// ratios of each start or search of Snapquery to the baseline's made right
// after it.
struct PairedRatios {
    double startup, search, huge, profilesStartup;
};

// Nine search profiles, each with a hotkey, as a user with many stores them.
const std::wstring kProfilesKey = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ\\Profiles";
void StoreProfiles(bool store) {
    probe::RegDelete(kProfilesKey, L"");
    for (int i = 1; store && i <= 9; ++i) {
        const std::wstring key = kProfilesKey + L"\\" + std::to_wstring(i);
        probe::RegSetText(key, L"Name", L"Profile " + std::to_wstring(i));
        probe::RegSetText(key, L"SearchAddress", L"https://search" + std::to_wstring(i) + L".example/?q={query}");
        probe::RegSetText(key, L"HotKey", L"Ctrl+Alt+" + std::to_wstring(i));
    }
}

// Private bytes; Wine leaves PrivateUsage at 0 and reports the same figure
// as the commit charge.
double PrivateKb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory));
    return static_cast<double>(std::max(memory.PrivateUsage, memory.PagefileUsage)) / 1024;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info)) return 0;
    return (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

// Clicks the tray icon and waits for the recording browser's line number
// `line`: the time taken. The log is read only when its size changed, so
// that the waiting costs the measured program as little as it can.
bool TimedSearch(HWND tray, std::size_t line, double& ms) {
    const std::wstring log = probe::BrowserLogPath();
    ULONGLONG seen = FileSize(log);
    const double click = Now();
    ::PostMessageW(tray, WM_USER + 1, 0, WM_LBUTTONDOWN);
    ::PostMessageW(tray, WM_USER + 1, 0, WM_LBUTTONUP);
    bool done = false;
    while (Now() - click < 15000) {
        const ULONGLONG size = FileSize(log);
        if (size != seen && (done = probe::ReadLines(log).size() >= line)) break;
        seen = size;
        ::Sleep(1);
    }
    ms = Now() - click;
    return done;
}

// A started program and its tray window.
struct Started {
    PROCESS_INFORMATION pi{};
    HWND tray = nullptr;
};

// Starts `exe` and waits for its tray icon: the time from process creation
// to its thread's first idle wait, or a negative value when no icon came. The caller ends
// the program. A program that an earlier start ended by force releases the
// hotkey a moment after it is gone: that is waited for first, so that every
// start registers it.
double TimedStart(const std::wstring& exe, Started& program) {
    for (int i = 0; i < 200 && !HotKeyFree(); ++i) ::Sleep(25);
    STARTUPINFOW si{sizeof(si)};
    std::wstring line = L"\"" + exe + L"\"";
    const double start = Now();
    PROCESS_INFORMATION& pi = program.pi;
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    ::WaitForInputIdle(pi.hProcess, 10000);
    // Both add their icon before their message loop first waits. Finding it
    // from outside asks the shell once for each hidden window of the
    // program, a cost of the search and not of the start: it is not timed.
    const double ms = Now() - start;
    while (!(program.tray = TrayWindow(pi.dwProcessId)) && Now() - start < 15000) ::Sleep(2);
    return program.tray ? ms : -1;
}

// Ends a started program. Its icon is removed first: the shell keeps the
// icons of killed programs, and every later call to it then costs more.
void End(Started& program) {
    if (!program.pi.hProcess) return;
    if (program.tray) {
        NOTIFYICONDATAW icon{};
        icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
        icon.hWnd = program.tray;
        icon.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(program.tray));
        ::Shell_NotifyIconW(NIM_DELETE, &icon);
    }
    ::TerminateProcess(program.pi.hProcess, 0);
    ::WaitForSingleObject(program.pi.hProcess, 5000);
    ::CloseHandle(program.pi.hThread);
    ::CloseHandle(program.pi.hProcess);
    program = {};
}

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// One round: `starts` starts of each program alone, alternating, for the
// start-up figure; then both programs run side by side for the rest, so
// that each of their searches is paired with one of the other's made a
// moment before or after it, under the same load of the machine.
bool Round(const std::wstring (&exe)[2], int starts, int idleSeconds, Sample (&out)[2],
           PairedRatios& ratios) {
    // Start-up alone, then again with nine profiles stored (against the
    // baseline started between them once more).
    std::vector<double> startup[2], profilesStartup[2];
    for (std::vector<double>* series : {startup, profilesStartup}) {
        StoreProfiles(series == profilesStartup);
        // A first start of each, untimed: the first after a change of the
        // registry or a pause pays for caches the others find warm.
        for (int p = 0; p < 2; ++p) {
            Started warm;
            TimedStart(exe[p], warm);
            End(warm);
            ::Sleep(kSettleMs);
        }
        // In turns that swap who goes first (ABBA), so that what one start
        // leaves behind for the next weighs on both alike.
        for (int k = 0; k < starts; ++k)
            for (int turn = 0; turn < 2; ++turn) {
                const int p = turn ^ (k & 1);
                Started program;
                const double ms = TimedStart(exe[p], program);
                End(program);
                // The next start on a quiet machine: the wineserver and the
                // shell are still cleaning up after the one just ended.
                ::Sleep(kSettleMs);
                if (ms < 0) return std::printf("bench: start %d of %ls failed\n", k, exe[p].c_str()), false;
                series[p].push_back(ms);
            }
    }
    StoreProfiles(false);
    std::vector<double> profilePairs;
    for (int k = 0; k < starts; ++k) profilePairs.push_back(profilesStartup[0][k] / profilesStartup[1][k]);
    ratios.profilesStartup = Median(profilePairs);
    for (int p = 0; p < 2; ++p) out[p].profilesStartupMs = Median(profilesStartup[p]);
    Started running[2];
    struct EndBoth {
        Started (&programs)[2];
        ~EndBoth() {
            for (Started& p : programs) End(p);
        }
    } endBoth{running};
    std::vector<double> startPairs;
    for (int k = 0; k < starts; ++k) startPairs.push_back(startup[0][k] / startup[1][k]);
    ratios.startup = Median(startPairs);
    double cpuBefore[2] = {};
    for (int p = 0; p < 2; ++p) {
        out[p].startupMs = Median(startup[p]);
        // The second finds the hotkey taken by the first, which it shrugs off.
        STARTUPINFOW si{sizeof(si)};
        std::wstring line = L"\"" + exe[p] + L"\"";
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                              &running[p].pi))
            return false;
        ::WaitForInputIdle(running[p].pi.hProcess, 10000);
        running[p].tray = probe::Poll(15000, [&] { return TrayWindow(running[p].pi.dwProcessId); });
        if (!running[p].tray) return std::printf("bench: %ls shows no icon\n", exe[p].c_str()), false;
        ::Sleep(500);
        const HANDLE process = running[p].pi.hProcess;
        out[p].privateKb = PrivateKb(process);
        PROCESS_MEMORY_COUNTERS memory{sizeof(memory)};
        ::GetProcessMemoryInfo(process, &memory, sizeof(memory));
        out[p].workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024;
    }
    // Both at rest, over the same seconds.
    for (int p = 0; p < 2; ++p) cpuBefore[p] = CpuMs(running[p].pi.hProcess);
    ::Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    for (int p = 0; p < 2; ++p) out[p].idleCpuMs = CpuMs(running[p].pi.hProcess) - cpuBefore[p];

    // Each search waits for the one before to have reached the browser, for
    // the browser to have ended and for the program to be at rest.
    std::size_t lines = 0;
    auto searches = [&](int count, double Sample::*figure, double& ratio) {
        std::vector<double> times[2];
        for (int i = 0; i < count; ++i)
            for (int p = 0; p < 2; ++p) {
                double t = 0;
                if (!TimedSearch(running[p].tray, ++lines, t))
                    return std::printf("bench: search %zu of %ls lost\n", lines, exe[p].c_str()), false;
                times[p].push_back(t);
                ::WaitForInputIdle(running[p].pi.hProcess, 1000);
                for (int w = 0; w < 200 && !probe::ProcessesOf(L"recorder.exe").empty(); ++w)
                    ::Sleep(10);
                ::Sleep(20);
            }
        for (int p = 0; p < 2; ++p) out[p].*figure = Median(times[p]);
        std::vector<double> pairs;
        for (int i = 0; i < count; ++i) pairs.push_back(times[0][i] / times[1][i]);
        ratio = Median(pairs);
        return true;
    };
    probe::SetClipboardText(L"bench query");
    ::DeleteFileW(probe::BrowserLogPath().c_str());
    if (!searches(kSearchesPerStart, &Sample::searchMs, ratios.search)) return false;
    // A search from the command line, handed to the running copy: from the
    // caller's creation to its end, against the baseline's plain start.
    std::vector<double> handed;
    for (int k = 0; k < starts; ++k) {
        STARTUPINFOW si{sizeof(si)};
        PROCESS_INFORMATION pi{};
        std::wstring line = L"\"" + exe[0] + L"\" /search \"bench query\"";
        const double start = Now();
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        ::WaitForSingleObject(pi.hProcess, 10000);
        handed.push_back(Now() - start);
        DWORD code = 1;
        ::GetExitCodeProcess(pi.hProcess, &code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        if (code != 0 || !probe::Poll(15000, [&] { return probe::ReadLines(probe::BrowserLogPath()).size() > lines; }))
            return std::printf("bench: the command line's search %d was lost\n", k), false;
        ++lines;
        for (int w = 0; w < 200 && !probe::ProcessesOf(L"recorder.exe").empty(); ++w) ::Sleep(10);
        ::Sleep(kSettleMs);
    }
    out[0].commandLineMs = Median(handed);
    out[1].commandLineMs = out[1].startupMs;
    // A 10 MB clipboard: the address takes at most 2,048 characters of it.
    probe::SetClipboardText(std::wstring(10'000'000, L'z'));
    if (!searches(kHugeSearchesPerStart, &Sample::hugeSearchMs, ratios.huge)) return false;
    for (int p = 0; p < 2; ++p) {
        // The highest commit charge so far, which the system keeps: read once,
        // so that nothing polls the programs while they search.
        PROCESS_MEMORY_COUNTERS memory{sizeof(memory)};
        ::GetProcessMemoryInfo(running[p].pi.hProcess, &memory, sizeof(memory));
        out[p].hugePeakKb = static_cast<double>(memory.PeakPagefileUsage) / 1024;
    }
    return true;
}

// The bytes of an executable's string tables, by language.
std::map<WORD, std::size_t> StringTableBytes(const std::wstring& path) {
    std::map<WORD, std::size_t> bytes;
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return bytes;
    struct Walk {
        HMODULE module;
        std::map<WORD, std::size_t>& bytes;
    } walk{module, bytes};
    ::EnumResourceNamesW(
        module, MAKEINTRESOURCEW(6),
        [](HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR param) -> BOOL {
            return ::EnumResourceLanguagesW(
                m, type, name,
                [](HMODULE m, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param) -> BOOL {
                    auto& walk = *reinterpret_cast<Walk*>(param);
                    walk.bytes[language] += ::SizeofResource(m, ::FindResourceExW(m, type, name, language));
                    return TRUE;
                },
                param);
        },
        reinterpret_cast<LONG_PTR>(&walk));
    ::FreeLibrary(module);
    return bytes;
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

std::vector<std::string> g_missed;

// One figure: each program's median over the runs, and the median and range
// of the paired ratios (each run of Snapquery over the baseline run of the
// same round). Only the median ratio decides.
struct Figure {
    const char* name;
    const char* unit;
    double ours, base, ratio, lowest, highest;
};

Figure Paired(const char* name, const char* unit, const std::vector<double>& a,
              const std::vector<double>& b) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (b[i] > 0) ratios.push_back(a[i] / b[i]);
    const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
    return {name,   unit, Median(a), Median(b), Median(ratios),
            ratios.empty() ? 0 : *lowest, ratios.empty() ? 0 : *highest};
}

void Line(const Figure& f, const char* goal, bool ok) {
    if (!ok) g_missed.push_back(f.name);
    std::printf("%-16s snapquery %10.1f %-3s  baseline %10.1f %-3s  ratio %5.2f (%4.2f-%4.2f)  "
                "goal %-12s %s\n",
                f.name, f.ours, f.unit, f.base, f.unit, f.ratio, f.lowest, f.highest, goal,
                ok ? "ok" : "MISS");
}

// Both programs hand their address to the same recording "browser", and
// Snapquery is set to the default browser. With SNQ_BENCH_POLICIES set,
// an organisation's policies as well: every start then reads them and
// checks their hotkey against the keyboard layouts.
void PrepareEdges() {
    probe::InstallRecordingBrowser();
    probe::SetBrowserMode(true);
    if (!_wgetenv(L"SNQ_BENCH_POLICIES")) return;
    const std::wstring policies = L"HKLM\\SOFTWARE\\Policies\\Varnel\\Snapquery";
    probe::RegSetText(policies, L"HotKey", L"Ctrl+Shift+G");
    probe::RegSetText(policies, L"SearchAddress", L"https://www.google.com/search?q={query}");
    const DWORD yes = 1, no = 0;
    probe::RegSet(policies, L"UseDefaultBrowser", REG_DWORD, &yes, sizeof(yes));
    probe::RegSet(policies, L"AllowSettings", REG_DWORD, &no, sizeof(no));
    probe::RegSet(policies, L"AllowPrivateWindow", REG_DWORD, &no, sizeof(no));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    PrepareEdges();
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const int idleSeconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10;
    const std::wstring ours = probe::ExeDir() + L"snapquery.exe", base = probe::ExeDir() + L"baseline.exe";
    const std::wstring exe[2] = {ours, base};
    std::vector<Sample> a, b;
    std::vector<double> startupRatios, searchRatios, hugeRatios, profilesRatios;
    for (int i = 0; i < runs; ++i) {
        Sample round[2] = {};
        PairedRatios ratios{};
        if (!Round(exe, kStartsPerRound, idleSeconds, round, ratios)) return 1;
        a.push_back(round[0]);
        b.push_back(round[1]);
        startupRatios.push_back(ratios.startup);
        profilesRatios.push_back(ratios.profilesStartup);
        searchRatios.push_back(ratios.search);
        hugeRatios.push_back(ratios.huge);
    }
    auto all = [](const std::vector<Sample>& v, double Sample::*f) {
        std::vector<double> x;
        for (const auto& s : v) x.push_back(s.*f);
        return x;
    };
    auto figure = [&](const char* name, const char* unit, double Sample::*f) {
        return Paired(name, unit, all(a, f), all(b, f));
    };
    std::printf("%d rounds of snapquery and baseline: %d starts each, idle over %d s, %d "
                "searches (%d with 10 MB); ratio: median of the rounds' ratios (lowest-highest)\n",
                runs, kStartsPerRound, idleSeconds, kSearchesPerStart, kHugeSearchesPerStart);
    wchar_t language[LOCALE_NAME_MAX_LENGTH] = {};
    ::GetUserDefaultLocaleName(language, LOCALE_NAME_MAX_LENGTH);
    std::printf("user's language %ls, %s\n", language,
                _wgetenv(L"SNQ_BENCH_POLICIES") ? "policies set (hotkey, address, browser, Settings)" : "no policies");
    // Start-up and the searches take the rounds' own ratios, of their pairs.
    auto withRatios = [](Figure f, const std::vector<double>& ratios) {
        const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
        f.ratio = Median(ratios);
        f.lowest = *lowest;
        f.highest = *highest;
        return f;
    };
    // The start-up figures' rounds, in their order: whether a run's noise
    // was one round or all of them.
    auto rounds = [](const std::vector<double>& ratios) {
        std::printf("%-16s", "  rounds");
        for (double r : ratios) std::printf(" %.2f", r);
        std::printf("\n");
    };
    const Figure startup = withRatios(figure("startup", "ms", &Sample::startupMs), startupRatios);
    Line(startup, "<= 1.2x", startup.ratio <= 1.2);
    rounds(startupRatios);
    const Figure profiles =
        withRatios(figure("startup_9_prof", "ms", &Sample::profilesStartupMs), profilesRatios);
    Line(profiles, "<= 1.25x", profiles.ratio <= 1.25);
    rounds(profilesRatios);
    const Figure privateBytes = figure("private_bytes", "KB", &Sample::privateKb);
    Line(privateBytes, "<= 1.3x", privateBytes.ratio <= 1.3);
    const Figure workingSet = figure("working_set", "KB", &Sample::workingSetKb);
    Line(workingSet, "<= 1.3x", workingSet.ratio <= 1.3);
    const Figure idle = figure("idle_cpu", "ms", &Sample::idleCpuMs);
    Line(idle, "0 ms", idle.ours == 0);
    const Figure search = withRatios(figure("search_latency", "ms", &Sample::searchMs), searchRatios);
    Line(search, "<= 1.2x", search.ratio <= 1.2);
    const Figure handed = figure("cmdline_search", "ms", &Sample::commandLineMs);
    Line(handed, "<= 1.3x", handed.ratio <= 1.3);
    const Figure huge = withRatios(figure("huge_search", "ms", &Sample::hugeSearchMs), hugeRatios);
    Line(huge, "<= 1.2x", huge.ratio <= 1.2);
    // The peak over the start-up figure: the baseline's is the clipboard's
    // own data, which Windows copies into the reading process.
    std::vector<double> peakA, peakB;
    for (const Sample& s : a) peakA.push_back(s.hugePeakKb - s.privateKb);
    for (const Sample& s : b) peakB.push_back(s.hugePeakKb - s.privateKb);
    const Figure peak = Paired("huge_peak_over", "KB", peakA, peakB);
    Line(peak, "<= base+2MB", peak.ours <= peak.base + 2048);
    auto size = [](const std::wstring& path) {
        WIN32_FILE_ATTRIBUTE_DATA info{};
        ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info);
        return static_cast<double>(info.nFileSizeLow) / 1024;
    };
    const double zu = size(ours), zb = size(base);
    Line({"exe_size", "KB", zu, zb, zu / zb, zu / zb, zu / zb}, "<= 380 KB", zu <= 380);
    // What each language's texts add: its string tables' bytes.
    const auto tables = StringTableBytes(ours);
    std::printf("%-16s", "strings_kb");
    double largest = 0;
    for (const auto& [language, bytes] : tables) {
        std::printf(" %04x %.1f", language, bytes / 1024.0);
        largest = std::max(largest, bytes / 1024.0);
    }
    std::printf("   largest %.1f KB, goal <= 8 KB %s\n", largest, largest <= 8 ? "ok" : "MISS");
    if (largest > 8 || tables.empty()) g_missed.push_back("strings_kb");
    for (const auto& [name, path] : {std::pair{"snapquery", ours}, std::pair{"baseline", base}}) {
        const auto dlls = Imports(path);
        const bool all = std::all_of(dlls.begin(), dlls.end(), WindowsDll);
        std::printf("imports %-9s %zu DLLs, %s:", name, dlls.size(), all ? "all Windows' own" : "FOREIGN");
        for (const auto& d : dlls) std::printf(" %s", d.c_str());
        std::printf("\n");
        if (!all) g_missed.push_back(std::string("imports_") + name);
    }
    std::string missed;
    for (const std::string& name : g_missed) missed += " " + name;
    std::printf("%-16s %s\n", "summary", missed.empty() ? "ok" : ("MISS:" + missed).c_str());
    return missed.empty() ? 0 : 1;
}
