#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// Starting and ending the programs of a test desktop session (a compositor and what runs in it).
namespace sessionprocess {

// Forks and runs the program in the process group (0: a new one it leads), with exactly this environment
// ("NAME=value") and its output going to the log file; -1 when it cannot.
pid_t start(std::vector<std::string> arguments, std::vector<std::string> environment,
            const std::string& logFile, pid_t group);

// Sets each entry ("NAME=value") in this process's environment.
void exportEnvironment(const std::vector<std::string>& environment);

// Waits until the file exists. Why it does not (the leader ended, or the time ran out), with the end of the
// log file; empty once it does. A leader that ended is reaped and the group set to -1.
std::string waitForFile(const std::string& file, pid_t& group, const std::string& logFile,
                        std::chrono::seconds timeout);

// Starts the leader of a new process group (see start) and waits until it has written the file (see
// waitForFile): why it did not, empty once it did. The group is -1 when the start failed.
std::string startLeader(std::vector<std::string> arguments, std::vector<std::string> environment,
                        const std::string& logFile, const std::string& file, std::chrono::seconds timeout,
                        pid_t& group);

// Ends the whole process group (politely first), and removes the folder with everything in it.
void end(pid_t group, const std::string& folder);

}  // namespace sessionprocess
