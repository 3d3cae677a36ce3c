#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

// The program's form of a path (the file system's bytes on Linux, UTF-8 on Windows) and std::filesystem's.
inline std::filesystem::path FileSystemPath(const std::string& programPath) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(programPath.begin(), programPath.end()));
#else
    return std::filesystem::path(programPath);
#endif
}

inline std::string ProgramPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.native();
#endif
}

// The whole content of the file at a path in the program's form; empty when it cannot be read.
inline std::string FileBytes(const std::string& programPath) {
    std::ostringstream out;
    out << std::ifstream(FileSystemPath(programPath), std::ios::binary).rdbuf();
    return out.str();
}

// A new, empty folder under the system's temporary folder, removed with all it holds when the test ends.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::random_device seed;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate =
                std::filesystem::temp_directory_path() / ("zenporo-test-" + std::to_string(seed()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("no temporary folder could be made");
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    // The folder in the program's form with a trailing separator, as the program names its folders.
    std::string text() const { return ProgramPath(path_ / ""); }

  private:
    std::filesystem::path path_;
};
