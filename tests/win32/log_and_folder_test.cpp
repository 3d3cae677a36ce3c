// The log a user switches on with ZENPORO_LOG, and the folder of the running program.
#include "platform/file_system.h"
#include "platform/win32/win32_log.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>

namespace {

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Win32LogTest, AppendsLinesToTheFileNamedByZenporoLogAndOnlyThen) {
    const TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / L"ログ.txt";
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZENPORO_LOG", file.c_str()));
    Win32Log(/*first run*/).write(LogCategory::Files, "left out: Zoë.zpd");
    Win32Log(/*second run*/).write(LogCategory::Delivery, "no window below");
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZENPORO_LOG", nullptr));
    Win32Log().write(LogCategory::Settings, "not written anywhere a user looks");

    EXPECT_EQ(contentOf(file),
              "zenporo.files: left out: Zo\xC3\xAB.zpd\r\nzenporo.delivery: no window below\r\n");
}

TEST(Win32FileSystemTest, ExecutableFolderHoldsTheRunningProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(std::filesystem::is_regular_file(FileSystemPath(folder + "win32_service_tests.exe")))
        << folder;
}

}  // namespace
