// A library looked up in the program's own folder (often Downloads) could be planted there: the program
// imports only the system's known DLLs, which Windows always takes from System32.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

namespace {

// This test program links the Win32 services as the real program does; its import directory, as mapped.
TEST(DllSearchTest, TheProgramImportsOnlyKnownSystemLibraries) {
    // Windows' KnownDLLs, always taken from System32; comctl32, which the manifest binds to the system's
    // side-by-side copy; msvcrt, the system C runtime that MinGW builds use.
    const std::set<std::string> allowed = {"ADVAPI32.DLL", "COMCTL32.DLL", "COMDLG32.DLL", "GDI32.DLL",
                                           "IMM32.DLL",    "KERNEL32.DLL", "MSVCRT.DLL",   "OLE32.DLL",
                                           "OLEAUT32.DLL", "SHELL32.DLL",  "SHLWAPI.DLL",  "USER32.DLL"};
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); entry->Name != 0;
         ++entry) {
        std::string name(reinterpret_cast<const char*>(base + entry->Name));
        CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
        EXPECT_EQ(allowed.count(name), 1u) << name << " would be looked up in the program's folder first";
    }
}

}  // namespace
