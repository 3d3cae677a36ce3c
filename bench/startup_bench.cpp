// Start-up time and peak memory of zenporo against a minimal Qt Widgets program (minimal_window) that shows
// one small titled window, both on the X display that DISPLAY names, with a window manager running.
//
//   startup_bench [runs]
//
// Each program is started `runs` times (40 by default, after one start that is not counted), taking
// turns so that a noisy stretch of the machine hits both. A run counts from the fork until the program's
// top-level window is mapped and viewable, found through the window manager's client list by the window's
// _NET_WM_PID; its peak resident memory so far is read from /proc at that moment, then the program is ended
// with SIGTERM and its peak over the whole run read from wait4. zenporo runs from a fresh folder of its own
// that holds exactly one user file whose age matches its birth date, so that it opens no dialog at start.
// minimal_window also runs a third time in turn, made to end in order on SIGTERM as zenporo does: Qt's
// orderly end loads the font configuration, which the window killed at once never pays for.

#include "bench_stats.h"
#include "data/birth_date.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "data/user_record.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// On a busy shared machine the ratio of two medians wanders by a few tenths from run to run; more runs narrow
// that a little at the cost of a few seconds.
constexpr int kDefaultRuns = 40;
constexpr auto kPollInterval = std::chrono::milliseconds(1);
constexpr auto kStartTimeout = std::chrono::seconds(20);

// A window may vanish between listing and asking about it; that is no error for a poll.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Watches the window manager's client list for a viewable window of a given process.
class ClientWatcher {
  public:
    static std::optional<ClientWatcher> open() {
        Display* const display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            return std::nullopt;
        }
        return ClientWatcher(display);
    }

    // A managed, viewable window of the process, if it has one yet.
    std::optional<Window> viewableWindowOf(pid_t pid) const {
        for (const Window window : clients()) {
            if (windowPid(window) != static_cast<unsigned long>(pid)) {
                continue;
            }
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_.get(), window, &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                return window;
            }
        }
        return std::nullopt;
    }

    // The window's UTF-8 title, so the reader can see which window was timed.
    std::string title(Window window) const {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        const int status =
            XGetWindowProperty(display_.get(), window, nameAtom_, 0, 1024, False, AnyPropertyType,
                               &actualType, &format, &count, &remaining, &data);
        std::string text;
        if (status == Success && data != nullptr && format == 8) {
            text.assign(reinterpret_cast<const char*>(data), count);
        }
        if (data != nullptr) {
            XFree(data);
        }
        return text;
    }

  private:
    explicit ClientWatcher(Display* display)
        : display_(display, &XCloseDisplay),
          clientList_(XInternAtom(display, "_NET_CLIENT_LIST", False)),
          pidAtom_(XInternAtom(display, "_NET_WM_PID", False)),
          nameAtom_(XInternAtom(display, "_NET_WM_NAME", False)) {}

    // The 32-bit items of a window property, as Xlib hands them out (in longs).
    std::vector<unsigned long> property(Window window, Atom name, Atom type) const {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(display_.get(), window, name, 0, 4096, False, type, &actualType,
                                              &format, &count, &remaining, &data);
        std::vector<unsigned long> items;
        if (status == Success && data != nullptr && format == 32) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            items.assign(values, values + count);
        }
        if (data != nullptr) {
            XFree(data);
        }
        return items;
    }

    std::vector<unsigned long> clients() const {
        return property(DefaultRootWindow(display_.get()), clientList_, XA_WINDOW);
    }

    unsigned long windowPid(Window window) const {
        const std::vector<unsigned long> pid = property(window, pidAtom_, XA_CARDINAL);
        return pid.empty() ? 0 : pid.front();
    }

    std::unique_ptr<Display, int (*)(Display*)> display_;
    Atom clientList_;
    Atom pidAtom_;
    Atom nameAtom_;
};

// A temporary folder, removed with everything in it when this goes.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "zenporo-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            fs::remove_all(path_, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// A complete record whose stored age is the one its birth date gives today.
UserRecord benchRecord() {
    UserRecord record(kFieldCount);
    record[PostalCode] = "100-0001";
    record[Prefecture] = sjis::fromUtf8("東京都");
    record[City] = sjis::fromUtf8("千代田区");
    record[Address1] = sjis::fromUtf8("千代田１－１");
    record[FamilyName] = sjis::fromUtf8("山田");
    record[GivenName] = sjis::fromUtf8("太郎");
    record[Sex] = sjis::fromUtf8("男");
    record[Occupation] = sjis::fromUtf8("会社員");
    record[PhoneArea] = "03";
    record[PhoneExchange] = "1234";
    record[PhoneNumber] = "5678";
    record[Email] = "taro@example.jp";
    record[FamilyNameHiragana] = sjis::fromUtf8("やまだ");
    record[GivenNameHiragana] = sjis::fromUtf8("たろう");
    record[FamilyNameKatakana] = sjis::fromUtf8("ヤマダ");
    record[GivenNameKatakana] = sjis::fromUtf8("タロウ");
    record[FamilyNameRomaji] = "Yamada";
    record[GivenNameRomaji] = "Taro";
    record[BirthYear] = "1980";
    record[BirthMonth] = "4";
    record[BirthDay] = "1";
    record[Age] = AgeFromRecord(record, TodayLocal());
    return record;
}

// Copies the program into the folder and puts one user file beside it; the path of the copy.
fs::path installWithOneUserFile(const fs::path& program, const fs::path& folder) {
    const fs::path copy = folder / program.filename();
    fs::copy_file(program, copy);
    fs::permissions(copy, fs::perms::owner_all);
    WriteUserFile((folder / "bench.zpd").string(), benchRecord());
    return copy;
}

// The environment for a child: ours, with its own runtime folder (so its single-instance lock meets no
// other copy of the program on this machine) and Qt's X11 platform.
std::vector<std::string> childEnvironment(const fs::path& runtimeFolder) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("XDG_RUNTIME_DIR=", 0) != 0 && text.rfind("QT_QPA_PLATFORM=", 0) != 0) {
            entries.push_back(text);
        }
    }
    entries.push_back("XDG_RUNTIME_DIR=" + runtimeFolder.string());
    entries.push_back("QT_QPA_PLATFORM=xcb");
    return entries;
}

struct Sample {
    double milliseconds = 0;
    double peakMiB = 0;       // over the whole run, its end included
    double shownPeakMiB = 0;  // up to the moment the window was found viewable
    std::string title;        // of the window that was timed
};

// The process's peak resident memory so far, from /proc; 0 when it cannot be read.
double peakMiBSoFar(pid_t pid) {
    std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (status == nullptr) {
        return 0;
    }
    char line[256];
    double kib = 0;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::sscanf(line, "VmHWM: %lf kB", &kib) == 1) {
            break;
        }
    }
    std::fclose(status);
    return kib / 1024.0;
}

void sleepFor(std::chrono::nanoseconds duration) {
    const timespec wait{0, static_cast<long>(duration.count())};
    nanosleep(&wait, nullptr);
}

// Starts the program (with one argument, when given), waits for its window, ends it; nothing when it never
// showed a window.
std::optional<Sample> startOnce(const fs::path& program, const fs::path& runtimeFolder,
                                const ClientWatcher& watcher, const char* argument = nullptr) {
    const std::string path = program.string();
    std::vector<std::string> environment = childEnvironment(runtimeFolder);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::string argument0 = path;
    std::string argument1 = argument != nullptr ? argument : "";
    char* const argv[] = {argument0.data(), argument != nullptr ? argument1.data() : nullptr, nullptr};

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return std::nullopt;
    }
    if (pid == 0) {
        execve(path.c_str(), argv, envp.data());
        _exit(127);
    }

    std::optional<double> shownAfter;
    double shownPeakMiB = 0;
    std::string title;
    int status = 0;
    rusage usage{};
    while (Clock::now() - start < kStartTimeout) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            std::fprintf(stderr, "%s ended before it showed a window\n", path.c_str());
            return std::nullopt;
        }
        if (const std::optional<Window> window = watcher.viewableWindowOf(pid)) {
            shownAfter = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            title = watcher.title(*window);
            shownPeakMiB = peakMiBSoFar(pid);
            break;
        }
        sleepFor(kPollInterval);
    }
    kill(pid, shownAfter ? SIGTERM : SIGKILL);
    if (wait4(pid, &status, 0, &usage) != pid || !shownAfter) {
        std::fprintf(stderr, "%s showed no window within %lld s\n", path.c_str(),
                     static_cast<long long>(kStartTimeout.count()));
        return std::nullopt;
    }
    return Sample{*shownAfter, static_cast<double>(usage.ru_maxrss) / 1024.0, shownPeakMiB, title};
}

std::optional<Sample> startMinimal(const fs::path& program, const ClientWatcher& watcher,
                                   const char* argument = nullptr) {
    const ScratchFolder runtime;
    return startOnce(program, runtime.path(), watcher, argument);
}

std::optional<Sample> startZenporo(const fs::path& program, const ClientWatcher& watcher) {
    const ScratchFolder folder;
    const fs::path copy = installWithOneUserFile(program, folder.path());
    return startOnce(copy, folder.path(), watcher);
}

struct Series {
    explicit Series(const char* programName) : name(programName) {}

    const char* name;
    std::vector<double> milliseconds;
    std::vector<double> peakMiB;
    std::vector<double> shownPeakMiB;
    std::string title;

    void add(const std::optional<Sample>& sample) {
        if (sample) {
            milliseconds.push_back(sample->milliseconds);
            peakMiB.push_back(sample->peakMiB);
            shownPeakMiB.push_back(sample->shownPeakMiB);
            title = sample->title;
        }
    }
};

void printRow(const Series& series, int runs) {
    std::printf("  %-16s %4zu/%-4d %10.1f %10.1f %10.1f %12.1f %12.1f\n", series.name,
                series.milliseconds.size(), runs, bench::median(series.milliseconds),
                bench::percentile(series.milliseconds, 0), bench::percentile(series.milliseconds, 1),
                bench::median(series.peakMiB), bench::median(series.shownPeakMiB));
}

void printRatio(const char* what, double ours, double baseline, const char* target) {
    if (baseline <= 0 || ours <= 0) {
        std::printf("  %-8s n/a (a program never showed its window)   target %s\n", what, target);
        return;
    }
    std::printf("  %-8s %5.2fx   target %s\n", what, ours / baseline, target);
}

}  // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    XSetErrorHandler(&ignoreXError);
    const std::optional<ClientWatcher> watcher = ClientWatcher::open();
    if (!watcher) {
        std::fprintf(stderr, "startup_bench: cannot open the X display (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
        return 1;
    }
    // The programs are built into the same folder as this benchmark.
    const fs::path folder = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path zenporo = folder / "zenporo";
    const fs::path minimal = folder / "minimal_window";

    Series minimalSeries("minimal_window");
    Series inOrderSeries("minimal in order");
    Series zenporoSeries("zenporo");
    // One start of each that is not counted, so that neither pays alone for reading the libraries from disk.
    startMinimal(minimal, *watcher);
    startZenporo(zenporo, *watcher);
    for (int run = 0; run < runs; ++run) {
        minimalSeries.add(startMinimal(minimal, *watcher));
        inOrderSeries.add(startMinimal(minimal, *watcher, "--end-in-order"));
        zenporoSeries.add(startZenporo(zenporo, *watcher));
    }

    std::printf(
        "Start-up: fork until the top-level window is mapped and viewable; peak resident memory over the\n"
        "whole run (zenporo ends in order on SIGTERM and saves its settings, minimal_window just dies,\n"
        "\"minimal in order\" is minimal_window ending in order too) and up to the moment the window was\n"
        "viewable\n");
    std::printf("  %-16s %9s %10s %10s %10s %12s %12s\n", "program", "runs", "median ms", "min ms", "max ms",
                "median MiB", "MiB shown");
    printRow(minimalSeries, runs);
    printRow(inOrderSeries, runs);
    printRow(zenporoSeries, runs);
    std::printf("  windows timed: \"%s\" and \"%s\"\n", minimalSeries.title.c_str(),
                zenporoSeries.title.c_str());
    std::printf("zenporo / minimal_window (medians):\n");
    printRatio("time", bench::median(zenporoSeries.milliseconds), bench::median(minimalSeries.milliseconds),
               "<= 1.3x");
    printRatio("memory", bench::median(zenporoSeries.peakMiB), bench::median(minimalSeries.peakMiB),
               "<= 1.2x");
    printRatio("shown", bench::median(zenporoSeries.shownPeakMiB), bench::median(minimalSeries.shownPeakMiB),
               "none (memory when the window shows, for comparison)");
    // Qt's orderly end loads the font configuration that a window without text never needed.
    printRatio("in order", bench::median(zenporoSeries.peakMiB), bench::median(inOrderSeries.peakMiB),
               "none (memory against minimal_window that ends in order as well)");
    return 0;
}
