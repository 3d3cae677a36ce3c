// Start-up time and peak working set of zenporo.exe against minimal_win32_window.exe, a plain Win32 program
// that shows one small titled window, both beside this program and started the same way (under Wine on
// Linux, or on Windows itself).
//
//   win32_startup_bench [runs] [zip file]
//
// Each program is started `runs` times (20 by default, after one start of each that is not counted), the two
// taking turns. A run counts from CreateProcess until a visible top-level window of the process exists; the
// peak working set so far is read at that moment, then the window is closed and the process waited for.
// zenporo.exe runs from a fresh folder of its own that holds one user file whose age matches its birth date,
// so that it opens no dialog at start. With a zip file named, its size is printed as well.
#include "bench_stats.h"
#include "data/birth_date.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRuns = 20;
constexpr DWORD kTimeoutMs = 20000;

struct Sample {
    double milliseconds = 0;
    double peakMegabytes = 0;
};

std::wstring folderOfThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A folder with a copy of zenporo.exe and one user file (31 lines, the age matching the birth date).
std::wstring prepareZenporoFolder(const std::wstring& here) {
    const std::wstring folder = here + L"startup_bench_run\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    CopyFileW((here + L"zenporo.exe").c_str(), (folder + L"zenporo.exe").c_str(), FALSE);
    DeleteFileW((folder + L"Zenpad.ini").c_str());
    std::string user;
    for (int field = 0; field < 31; ++field) {
        std::string value = field == 5 ? "Bench" : "";
        if (field == 8) {
            value = AgeFromBirthFields("1980", "1", "1", TodayLocal());
        } else if (field >= 28) {
            value = field == 28 ? "1980" : "1";
        }
        user += value + "\r\n";
    }
    writeFile(folder + L"bench.zpd", user);
    return folder;
}

struct WindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.process && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

bool startOnce(const std::wstring& program, Sample& sample) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER frequency{};
    LARGE_INTEGER begin{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    WindowSearch search{info.dwProcessId, nullptr};
    const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
    while (search.found == nullptr && GetTickCount64() < deadline) {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(1);
        }
    }
    LARGE_INTEGER end{};
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory);
    sample.milliseconds =
        1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
    sample.peakMegabytes = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    if (search.found != nullptr) {
        PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hProcess);
    return search.found != nullptr;
}

struct Series {
    std::vector<double> milliseconds;
    std::vector<double> peakMegabytes;
};

void print(const char* name, const Series& series) {
    std::printf("  %-22s median %7.1f ms   peak working set median %6.1f MB\n", name,
                bench::median(series.milliseconds), bench::median(series.peakMegabytes));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    const std::wstring here = folderOfThisProgram();
    const std::wstring zenporo = prepareZenporoFolder(here) + L"zenporo.exe";
    const std::wstring minimal = here + L"minimal_win32_window.exe";
    Series zenporoSeries;
    Series minimalSeries;
    for (int run = 0; run <= runs; ++run) {
        Sample a;
        Sample b;
        if (!startOnce(zenporo, a) || !startOnce(minimal, b)) {
            std::fprintf(stderr, "win32_startup_bench: a program did not show its window\n");
            return 1;
        }
        if (run == 0) {
            continue;  // the first start fills caches for both
        }
        zenporoSeries.milliseconds.push_back(a.milliseconds);
        zenporoSeries.peakMegabytes.push_back(a.peakMegabytes);
        minimalSeries.milliseconds.push_back(b.milliseconds);
        minimalSeries.peakMegabytes.push_back(b.peakMegabytes);
    }
    std::printf("Windows start-up (%d runs each, to the visible window)\n", runs);
    print("zenporo.exe", zenporoSeries);
    print("minimal_win32_window", minimalSeries);
    std::printf("  ratio zenporo/minimal: time %.2fx (target <= 1.2x), memory %.2fx (target <= 1.3x)\n",
                bench::median(zenporoSeries.milliseconds) / bench::median(minimalSeries.milliseconds),
                bench::median(zenporoSeries.peakMegabytes) / bench::median(minimalSeries.peakMegabytes));
    if (argc > 2) {
        WIN32_FILE_ATTRIBUTE_DATA zip{};
        if (GetFileAttributesExA(argv[2], GetFileExInfoStandard, &zip)) {
            std::printf("  portable zip: %lu bytes (target <= 1 MB)\n",
                        static_cast<unsigned long>(zip.nFileSizeLow));
        }
    }
    return 0;
}
