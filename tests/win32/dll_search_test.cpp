// A library that Windows looks up in the program's own folder could be planted there (the folder is often
// Downloads): the program imports only the system's known DLLs, and loads any other from System32 alone.
#include "platform/win32/win32_dll_search.h"
#include "target_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

// The names in the import directory of a module mapped into this process, in lower case.
std::set<std::string> importedLibraries(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::set<std::string> names;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         imports.VirtualAddress != 0 && entry->Name != 0; ++entry) {
        std::string name(reinterpret_cast<const char*>(base + entry->Name));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        names.insert(name);
    }
    return names;
}

// This test program links the Win32 services as the real program does.
TEST(DllSearchTest, TheProgramImportsOnlyKnownSystemLibraries) {
    // The KnownDLLs of Windows 10 and 11, always taken from System32, and comctl32, which the manifest binds
    // to the system's side-by-side copy; msvcrt is the system C runtime that MinGW builds use.
    const std::set<std::string> allowed = {
        "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",   "imm32.dll",   "kernel32.dll",
        "msvcrt.dll",   "ole32.dll",    "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    };
    for (const std::string& name : importedLibraries(GetModuleHandleW(nullptr))) {
        EXPECT_TRUE(allowed.count(name) != 0) << name << " would be looked up in the program's folder first";
    }
}

// A file of a library's name beside the program is found (and refused as no program) before the search is
// restricted, and not looked at after.
TEST(DllSearchTest, AfterTheRestrictionAPlantedLibraryIsNotLoaded) {
    const std::wstring planted = testProgramFolder() + L"zenporo_planted.dll";
    const HANDLE file = CreateFileW(planted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "not a library", 13, &written, nullptr);
    CloseHandle(file);

    EXPECT_EQ(LoadLibraryW(L"zenporo_planted.dll"), nullptr);
    const DWORD before = GetLastError();
    ASSERT_TRUE(restrictDllSearchToSystem32());
    EXPECT_EQ(LoadLibraryW(L"zenporo_planted.dll"), nullptr);
    const DWORD after = GetLastError();
    DeleteFileW(planted.c_str());
    EXPECT_EQ(before, static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    EXPECT_EQ(after, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
