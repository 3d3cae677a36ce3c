#include "session_process.h"

#include "log_tail.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>

namespace sessionprocess {
namespace {

using namespace std::chrono_literals;

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& entry : strings) {
        result.push_back(entry.data());
    }
    result.push_back(nullptr);
    return result;
}

}  // namespace

pid_t start(std::vector<std::string> arguments, std::vector<std::string> environment,
            const std::string& logFile, pid_t group) {
    const std::vector<char*> argv = pointers(arguments);
    const std::vector<char*> envp = pointers(environment);
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, group);
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (child > 0) {
        setpgid(child, group == 0 ? child : group);  // also here, so the group exists once fork returns
    }
    return child;
}

void exportEnvironment(const std::vector<std::string>& environment) {
    for (const std::string& entry : environment) {
        const std::size_t equals = entry.find('=');
        setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
}

std::string waitForFile(const std::string& file, pid_t& group, const std::string& logFile,
                        std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!std::filesystem::exists(file)) {
        int status = 0;
        if (waitpid(group, &status, WNOHANG) == group) {
            group = -1;
            return "the compositor ended at start: " + logTail(logFile, 1500);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return "the compositor did not come up in time: " + logTail(logFile, 1500);
        }
        std::this_thread::sleep_for(50ms);
    }
    return {};
}

std::string startLeader(std::vector<std::string> arguments, std::vector<std::string> environment,
                        const std::string& logFile, const std::string& file, std::chrono::seconds timeout,
                        pid_t& group) {
    group = start(std::move(arguments), std::move(environment), logFile, 0);
    if (group < 0) {
        return "fork failed";
    }
    return waitForFile(file, group, logFile, timeout);
}

void end(pid_t group, const std::string& folder) {
    if (group > 0) {
        kill(-group, SIGTERM);
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            int status = 0;
            ended = waitpid(group, &status, WNOHANG) == group;
            if (!ended) {
                std::this_thread::sleep_for(50ms);
            }
        }
        if (!ended) {
            kill(-group, SIGKILL);
            waitpid(group, nullptr, 0);
        }
    }
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

}  // namespace sessionprocess
