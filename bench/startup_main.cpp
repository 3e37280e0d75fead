// quorvel-startup: starts the dialog repeatedly and reports the time from launch until its window
// is shown and painted, and its peak resident memory, on the offscreen platform and, where Xvfb is
// installed, on a private Xvfb server.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "bench/child_process.h"
#include "bench/machine_name.h"
#include "bench/spread.h"

namespace {

constexpr double kMostShownMs = 150.0;
constexpr double kMostPeakMb = 60.0;
constexpr int kReportTimeoutMs = 10000;
constexpr double kExitTimeoutSeconds = 5.0;

constexpr const char* kUsage =
    "usage: quorvel-startup [--runs=N] [--platform=offscreen|xcb|all] [--dialog=PATH] "
    "[--verbose] [--require_targets]\n";

struct StartupOptions {
    int runs = 10;
    std::string platform = "all";
    std::string dialog = QUORVEL_DIALOG_PATH;
    bool verbose = false;
    bool requireTargets = false;
    std::string error;
};

StartupOptions ParseOptions(int argc, char** argv) {
    StartupOptions options;
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        const auto value = [&](std::string_view name) {
            return argument.substr(0, name.size()) == name ? argument.substr(name.size())
                                                           : std::string_view();
        };
        if (!value("--runs=").empty()) {
            options.runs = std::atoi(std::string(value("--runs=")).c_str());
            if (options.runs < 1) options.error = "--runs needs a count of at least 1";
        } else if (!value("--platform=").empty()) {
            options.platform = value("--platform=");
            if (options.platform != "offscreen" && options.platform != "xcb" &&
                options.platform != "all") {
                options.error = "unknown platform " + options.platform;
            }
        } else if (!value("--dialog=").empty()) {
            options.dialog = value("--dialog=");
        } else if (argument == "--verbose") {
            options.verbose = true;
        } else if (argument == "--require_targets") {
            options.requireTargets = true;
        } else {
            options.error = "unknown argument: " + std::string(argument);
        }
    }
    return options;
}

// Reads one line from fd, waiting at most timeoutMs; "" when none came.
std::string ReadLine(int fd, int timeoutMs) {
    std::string line;
    pollfd watch{fd, POLLIN, 0};
    char c = 0;
    while (poll(&watch, 1, timeoutMs) > 0 && read(fd, &c, 1) == 1) {
        if (c == '\n') return line;
        line += c;
    }
    return "";
}

bool ExecutableInPath(const char* name) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string candidate = std::string(rest.substr(0, colon)) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        rest = colon == std::string_view::npos ? "" : rest.substr(colon + 1);
    }
    return false;
}

// A private X server; display is "" when it could not be started.
struct XServer {
    pid_t pid = -1;
    std::string display;
};

XServer StartXvfb(int quiet) {
    XServer server;
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return server;
    ChildSpec spec;
    spec.argv = {"Xvfb",      "-displayfd", std::to_string(kPassedDescriptor),
                 "-screen",   "0",          "1280x1024x24",
                 "-nolisten", "tcp"};
    spec.passedFd = ready[1];
    spec.stdoutFd = quiet;
    spec.stderrFd = quiet;
    std::string error;
    server.pid = SpawnChild(spec, error);
    close(ready[1]);
    if (server.pid > 0) {
        const std::string number = ReadLine(ready[0], kReportTimeoutMs);
        if (!number.empty()) server.display = ":" + number;
    }
    close(ready[0]);
    return server;
}

void StopXvfb(const XServer& server) {
    if (server.pid <= 0) return;
    kill(server.pid, SIGTERM);
    WaitForChild(server.pid, kExitTimeoutSeconds);
}

struct Launch {
    bool shown = false;
    double applicationMs = 0.0;  // launch to the application object
    double shownMs = 0.0;
    double peakMb = 0.0;
    std::string problem;
};

Launch LaunchOnce(const StartupOptions& options, const std::vector<std::string>& environment,
                  int quiet) {
    Launch launch;
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        launch.problem = "no pipe";
        return launch;
    }
    ChildSpec spec;
    spec.argv = {options.dialog};
    spec.environment = environment;
    spec.environment.push_back("QUORVEL_STARTUP_FD=" + std::to_string(kPassedDescriptor));
    spec.environment.push_back(std::string("LD_PRELOAD=") + QUORVEL_STARTUP_PROBE);
    spec.passedFd = report[1];
    spec.stdoutFd = quiet;
    spec.stderrFd = quiet;
    const double start = MonotonicSeconds();
    const pid_t pid = SpawnChild(spec, launch.problem);
    close(report[1]);
    if (pid > 0) {
        const std::string shownAt = ReadLine(report[0], kReportTimeoutMs);
        const ChildExit exit = WaitForChild(pid, kExitTimeoutSeconds);
        launch.peakMb = exit.peakRssKb / 1024.0;
        long long madeNs = 0;
        long long shownNs = 0;
        launch.shown = std::sscanf(shownAt.c_str(), "%lld %lld", &madeNs, &shownNs) == 2;
        launch.applicationMs = (static_cast<double>(madeNs) * 1e-9 - start) * 1e3;
        launch.shownMs = (static_cast<double>(shownNs) * 1e-9 - start) * 1e3;
        if (!launch.shown) {
            launch.problem = exit.killed ? "the window was never shown" : "it ended before showing";
        } else if (exit.killed || !exit.exited || exit.status != 0) {
            launch.problem = "it did not end cleanly after showing";
        }
    }
    close(report[0]);
    return launch;
}

struct PlatformResult {
    std::string name;
    Spread applicationMs;
    Spread shownMs;
    double peakMb = 0.0;
    int shownRuns = 0;
    std::string problem;
};

PlatformResult MeasurePlatform(const StartupOptions& options, const std::string& name,
                               const std::vector<std::string>& environment, int quiet) {
    PlatformResult result;
    result.name = name;
    std::vector<double> times;
    std::vector<double> applicationTimes;
    for (int run = 0; run < options.runs; ++run) {
        const Launch launch = LaunchOnce(options, environment, quiet);
        if (launch.shown) {
            times.push_back(launch.shownMs);
            applicationTimes.push_back(launch.applicationMs);
        }
        if (launch.peakMb > result.peakMb) result.peakMb = launch.peakMb;
        if (!launch.problem.empty() && result.problem.empty()) result.problem = launch.problem;
    }
    result.shownRuns = static_cast<int>(times.size());
    result.shownMs = SpreadOf(times);
    result.applicationMs = SpreadOf(applicationTimes);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const StartupOptions options = ParseOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "quorvel-startup: %s\n%s", options.error.c_str(), kUsage);
        return 2;
    }
    const int quiet = options.verbose ? -1 : open("/dev/null", O_WRONLY | O_CLOEXEC);

    std::vector<PlatformResult> results;
    if (options.platform != "xcb") {
        results.push_back(
            MeasurePlatform(options, "offscreen", {"QT_QPA_PLATFORM=offscreen"}, quiet));
    }
    const bool wantXvfb = options.platform != "offscreen";
    if (wantXvfb && ExecutableInPath("Xvfb")) {
        const XServer server = StartXvfb(quiet);
        if (server.display.empty()) {
            results.push_back(
                {"xcb (Xvfb)", SpreadOf({}), SpreadOf({}), 0.0, 0, "Xvfb did not start"});
        } else {
            results.push_back(MeasurePlatform(options, "xcb (Xvfb)",
                                              {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + server.display},
                                              quiet));
        }
        StopXvfb(server);
    } else if (options.platform == "xcb") {
        results.push_back(
            {"xcb (Xvfb)", SpreadOf({}), SpreadOf({}), 0.0, 0, "Xvfb is not installed"});
    }

    std::printf("Machine: %s, %ld cores\n\n", MachineName().c_str(), sysconf(_SC_NPROCESSORS_ONLN));
    std::printf(
        "| Platform | runs shown | launch to application object ms (median) | launch to shown ms "
        "(min / median / max) | peak RSS MB |\n|---|--:|--:|--:|--:|\n");
    for (const PlatformResult& result : results) {
        std::printf("| %s | %d of %d | %.1f | %.1f / %.1f / %.1f | %.1f |\n", result.name.c_str(),
                    result.shownRuns, options.runs, result.applicationMs.median, result.shownMs.min,
                    result.shownMs.median, result.shownMs.max, result.peakMb);
    }
    std::printf("\n");
    bool complete = true;
    bool targetsMet = true;
    for (const PlatformResult& result : results) {
        // The median stands for a launch; the slowest run is shown beside it.
        const bool fast = result.shownMs.median < kMostShownMs;
        const bool small = result.peakMb > 0.0 && result.peakMb < kMostPeakMb;
        std::printf("%-8s dialog on screen in under 150 ms, %s: median %.1f ms, slowest %.1f ms\n",
                    fast ? "[met]" : "[MISSED]", result.name.c_str(), result.shownMs.median,
                    result.shownMs.max);
        std::printf("%-8s dialog peak memory under 60 MB, %s: %.1f MB\n",
                    small ? "[met]" : "[MISSED]", result.name.c_str(), result.peakMb);
        if (!result.problem.empty()) {
            std::printf("%-8s %s: %s\n", "[FAILED]", result.name.c_str(), result.problem.c_str());
        }
        complete = complete && result.problem.empty() && result.shownRuns == options.runs;
        targetsMet = targetsMet && fast && small;
    }
    if (!complete) return 1;
    return options.requireTargets && !targetsMet ? 1 : 0;
}
