// The single-instance mutex, held modifiers, the shell, the clipboard as other programs read it, and the
// atomic file replacement with the access list of a new file.
#include "data/atomic_write.h"
#include "platform/platform_services.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_file_security.h"
#include "platform/win32/win32_instance_lock.h"
#include "platform/win32/win32_key_input.h"
#include "platform/win32/win32_path.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_text_codec.h"
#include "target_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <future>
#include <string>
#include <thread>

namespace {

TEST(Win32InstanceLockTest, RefusesTheSecondHolderUntilTheFirstIsGone) {
    auto first = std::make_unique<Win32InstanceLock>();
    ASSERT_TRUE(first->acquire());
    Win32InstanceLock second;
    EXPECT_FALSE(second.acquire());
    first.reset();
    Win32InstanceLock third;
    EXPECT_TRUE(third.acquire());
}

// The delivery waits while the user holds a modifier, which would turn Ctrl+V into another shortcut.
TEST(Win32KeyInputTest, SeesAHeldModifierUntilItIsReleased) {
    const std::unique_ptr<KeyInput> keys = makeWin32KeyInput();
    EXPECT_FALSE(keys->anyModifierHeld());
    for (const WORD modifier : {VK_SHIFT, VK_MENU, VK_LWIN}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = modifier;
        ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
        EXPECT_TRUE(keys->anyModifierHeld()) << modifier;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
        EXPECT_FALSE(keys->anyModifierHeld()) << modifier;
    }
}

TEST(Win32ShellTest, ReportsAFileItCannotOpen) {
    const Win32TextCodec codec;
    Win32Shell shell(codec);
    EXPECT_FALSE(shell.openFile("C:\\no such folder\\zenporo.html"));
    EXPECT_FALSE(shell.openUrl(""));
}

// The help manual of a program copied into a folder named in kana reaches its viewer (here a handler of a
// file kind of the test's own that does nothing; Wine reads file kinds from HKEY_CLASSES_ROOT alone).
TEST(Win32ShellTest, OpensAFileInAFolderNamedInKana) {
    const std::wstring folder = testProgramFolder() + L"ヘルプ";
    const std::wstring manual = folder + L"\\zenporo.zenporo-test";
    CreateDirectoryW(folder.c_str(), nullptr);
    CloseHandle(CreateFileW(manual.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    RegSetValueW(HKEY_CLASSES_ROOT, L".zenporo-test", REG_SZ, L"ZenporoTest", 0);
    RegSetValueW(HKEY_CLASSES_ROOT, L"ZenporoTest\\shell\\open\\command", REG_SZ, L"cmd.exe /c rem \"%1\"",
                 0);
    const Win32TextCodec codec;
    EXPECT_TRUE(Win32Shell(codec).openFile(Utf8Path(manual)));
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".zenporo-test");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"ZenporoTest");
    DeleteFileW(manual.c_str());
    RemoveDirectoryW(folder.c_str());
}

// What another program finds on the clipboard: the Unicode text, code page 932 bytes for old programs, and
// the mark that keeps it off the cloud clipboard.
TEST(Win32ClipboardTest, OffersUnicodeAndCodePage932TextNotForTheCloud) {
    const Win32TextCodec codec;
    const std::unique_ptr<Clipboard> clipboard = makeWin32Clipboard(codec);
    const std::string text = codec.encode(u"髙橋① ｱ").bytes;
    ASSERT_TRUE(clipboard->setText(text));

    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* unicode = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    const std::wstring unicodeText = unicode != nullptr ? unicode : L"<none>";
    const auto* bytes = static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT)));
    const std::string byteText = bytes != nullptr ? bytes : "<none>";
    const auto* cloud = static_cast<const DWORD*>(
        GlobalLock(GetClipboardData(RegisterClipboardFormatW(L"CanUploadToCloudClipboard"))));
    const std::optional<DWORD> cloudUpload = cloud != nullptr ? std::optional(*cloud) : std::nullopt;
    CloseClipboard();
    EXPECT_EQ(unicodeText, L"髙橋① ｱ");
    EXPECT_EQ(byteText, "\xFB\xFC\x8B\xB4\x87\x40 \xB1");
    EXPECT_EQ(cloudUpload, std::optional<DWORD>(0)) << "personal details stay off the cloud clipboard";

    EXPECT_EQ(clipboard->text(), text);
    EXPECT_TRUE(clipboard->ownsText());
    // Another program replaces the text: a paste would bring its text, not ours.
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard());
    CloseClipboard();
    EXPECT_FALSE(clipboard->ownsText());
}

// A clipboard manager or remote-desktop client holds the clipboard open for a moment: the text still goes on.
TEST(Win32ClipboardTest, WaitsOutAnotherProgramHoldingTheClipboard) {
    const Win32TextCodec codec;
    const std::unique_ptr<Clipboard> clipboard = makeWin32Clipboard(codec);
    std::promise<bool> opened;
    std::thread holder([&opened] {
        opened.set_value(OpenClipboard(nullptr) != FALSE);
        Sleep(300);
        CloseClipboard();
    });
    EXPECT_TRUE(opened.get_future().get() && clipboard->setText("held"));
    holder.join();
    EXPECT_EQ(clipboard->text(), "held");
}

class AtomicWriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testProgramFolder() + L"atomic_write_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::wstring& name : namesInFolder()) {
            DeleteFileW((folder + L"\\" + name).c_str());
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::vector<std::wstring> namesInFolder() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    static std::string utf8(const std::wstring& text) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
        bytes.resize(bytes.size() - 1);
        return bytes;
    }

    std::string contentOf(const std::wstring& name) const {
        const KernelHandle file(CreateFileW((folder + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            return "<missing>";
        }
        std::string bytes(4096, '\0');
        DWORD read = 0;
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        bytes.resize(read);
        return bytes;
    }

    std::wstring folder;
};

// A user file named in kana, written and then replaced: the new bytes whole, nothing else left in the folder.
TEST_F(AtomicWriteTest, CreatesAndReplacesAFileWithAJapaneseName) {
    const std::string path = utf8(folder + L"\\山田 髙子.zpd");
    ASSERT_TRUE(ReplaceFileAtomically(path, "first\r\n"));
    ASSERT_TRUE(ReplaceFileAtomically(path, std::string("\x8E\x52\x93\x63\r\n\0tail", 12)));
    EXPECT_EQ(contentOf(L"山田 髙子.zpd"), std::string("\x8E\x52\x93\x63\r\n\0tail", 12));
    EXPECT_EQ(namesInFolder(), std::vector<std::wstring>{L"山田 髙子.zpd"});
}

// The access entries of a file: who may do what.
std::vector<std::wstring> accessOf(const std::wstring& path) {
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &list, nullptr, &descriptor) != ERROR_SUCCESS) {
        return {L"<unreadable>"};
    }
    std::vector<std::wstring> entries;
    for (DWORD i = 0; list != nullptr && i < list->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* entry = nullptr;
        if (!GetAce(list, i, reinterpret_cast<void**>(&entry))) {
            continue;
        }
        wchar_t* sid = nullptr;
        ConvertSidToStringSidW(&entry->SidStart, &sid);
        entries.push_back(std::to_wstring(entry->Header.AceType) + L" " + std::to_wstring(entry->Mask) +
                          L" " + (sid != nullptr ? sid : L"?"));
        LocalFree(sid);
    }
    LocalFree(descriptor);
    return entries;
}

std::wstring currentUserSid() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    const KernelHandle owned(token);
    unsigned char buffer[256] = {};
    DWORD size = 0;
    GetTokenInformation(owned.get(), TokenUser, buffer, sizeof buffer, &size);
    wchar_t* sid = nullptr;
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid);
    const std::wstring text = sid != nullptr ? sid : L"?";
    LocalFree(sid);
    return text;
}

// The access list a new file is given, read back as Wine reads it too: the owner, SYSTEM and the
// Administrators, protected from the folder's inheritable entries.
TEST(PersonalFileSecurityTest, GrantsTheUserSystemAndAdministratorsAloneNothingInherited) {
    const OwnedDescriptor descriptor = PersonalFileSecurity();
    ASSERT_NE(descriptor, nullptr);
    wchar_t* text = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor.get(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
    const std::wstring sddl(text);
    LocalFree(text);
    EXPECT_EQ(sddl, L"D:P(A;;FA;;;" + currentUserSid() + L")(A;;FA;;;SY)(A;;FA;;;BA)");
}

// On a file system with access lists, a new file gets that list; a replaced file keeps whatever it had.
TEST_F(AtomicWriteTest, GivesANewFileThePersonalAccessListAndKeepsTheAccessOfAReplacedOne) {
    if (runningUnderWine()) {
        GTEST_SKIP() << "Wine keeps no access lists of files";
    }
    const std::wstring path = folder + L"\\user.zpd";
    ASSERT_TRUE(ReplaceFileAtomically(utf8(path), "a"));
    const std::wstring full =
        std::to_wstring(ACCESS_ALLOWED_ACE_TYPE) + L" " + std::to_wstring(FILE_ALL_ACCESS);
    EXPECT_EQ(accessOf(path), (std::vector<std::wstring>{full + L" " + currentUserSid(), full + L" S-1-5-18",
                                                         full + L" S-1-5-32-544"}));

    PSECURITY_DESCRIPTOR shared = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        (L"D:P(A;;FA;;;" + currentUserSid() + L")(A;;FR;;;WD)").c_str(), SDDL_REVISION_1, &shared, nullptr));
    ASSERT_TRUE(SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, shared));
    LocalFree(shared);
    const std::vector<std::wstring> before = accessOf(path);
    ASSERT_EQ(before.size(), 2u);
    ASSERT_TRUE(ReplaceFileAtomically(utf8(path), "b"));
    EXPECT_EQ(accessOf(path), before);
    EXPECT_EQ(contentOf(L"user.zpd"), "b");
}

// A new file is protected on a fixed disk; on a removable drive, carried to other PCs, it has the access a
// plain new file there has. The Windows lane makes R: a removable drive.
TEST_F(AtomicWriteTest, ProtectsANewFileOnAFixedDiskButNotOnARemovableDrive) {
    if (GetDriveTypeW(L"R:\\") != DRIVE_REMOVABLE) {
        GTEST_SKIP() << "no removable drive R:";
    }
    for (const auto& [place, protects] : {std::pair{folder, true}, std::pair{std::wstring(L"R:"), false}}) {
        const std::wstring saved = place + L"\\保存.zpd";
        const std::wstring plain = place + L"\\plain.txt";
        ASSERT_TRUE(ReplaceFileAtomically(utf8(saved), "a"));
        CloseHandle(CreateFileW(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        EXPECT_EQ(accessOf(saved) != accessOf(plain), protects) << utf8(place);
        DeleteFileW(saved.c_str());
        DeleteFileW(plain.c_str());
    }
}

// A save cut short leaves its temporary file; the next start removes those and nothing that only looks alike.
TEST_F(AtomicWriteTest, RemovesOnlyTheTemporariesOfSavesCutShort) {
    const auto create = [this](const std::wstring& name) {
        const KernelHandle file(
            CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
    };
    create(L".zenporo-save-a1B2c3");
    create(L".zenporo-save-abc");
    create(L".zenporo-save-abcdef.zpd");
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\.zenporo-save-dir123").c_str(), nullptr));
    // A file kept aside while it was replaced: put back when its name is free, else a copy left over.
    create(L".zenporo-kept-山田.zpd");
    create(L".zenporo-kept-Zenpad.ini");
    create(L"Zenpad.ini");
    EXPECT_EQ(RemoveLeftoverTemporaries(utf8(folder)), 2);
    std::vector<std::wstring> left = namesInFolder();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::wstring>{L".zenporo-save-abc", L".zenporo-save-abcdef.zpd",
                                               L".zenporo-save-dir123", L"Zenpad.ini", L"山田.zpd"}));
    RemoveDirectoryW((folder + L"\\.zenporo-save-dir123").c_str());
}

// An indexer or virus scanner holds the file for a moment without letting it be replaced: the save waits.
TEST_F(AtomicWriteTest, WaitsOutAnotherProgramHoldingTheFile) {
    const std::wstring path = folder + L"\\user.zpd";
    ASSERT_TRUE(ReplaceFileAtomically(utf8(path), "old"));
    KernelHandle held(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    std::thread holder([held = std::move(held)]() mutable {
        Sleep(200);
        held.reset();
    });
    EXPECT_TRUE(ReplaceFileAtomically(utf8(path), "new"));
    holder.join();
    EXPECT_EQ(contentOf(L"user.zpd"), "new");
}

TEST_F(AtomicWriteTest, FailsWithoutLeavingAnythingWhenTheTargetCannotBeReplaced) {
    // A folder of that name stands where the file would go.
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\Zenpad.ini").c_str(), nullptr));
    EXPECT_FALSE(ReplaceFileAtomically(utf8(folder + L"\\Zenpad.ini"), "[Set]\r\n"));
    EXPECT_EQ(namesInFolder(), std::vector<std::wstring>{L"Zenpad.ini"});
    RemoveDirectoryW((folder + L"\\Zenpad.ini").c_str());
    EXPECT_FALSE(ReplaceFileAtomically(utf8(folder + L"\\missing\\Zenpad.ini"), "[Set]\r\n"));

    // A read-only file stays as it was.
    const std::wstring readOnly = folder + L"\\user.zpd";
    ASSERT_TRUE(ReplaceFileAtomically(utf8(readOnly), "old"));
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(ReplaceFileAtomically(utf8(readOnly), "new"));
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(contentOf(L"user.zpd"), "old");
}

// The program's start builds its services once from here: every one must be there, the lock must be the
// application's own, and the codec code page 932.
TEST(Win32PlatformServicesTest, BuildsEveryServiceWithTheApplicationsLock) {
    const PlatformServices first = makePlatformServices();
    ASSERT_TRUE(first.textCodec && first.dialogs && first.clipboard && first.shell && first.instanceLock &&
                first.sleeper && first.log && first.windowOrder && first.keyInput && first.setToolbarWindow);
    EXPECT_EQ(first.textCodec->encode(u"\u3042").bytes, "\x82\xA0");
    ASSERT_TRUE(first.instanceLock->acquire());
    EXPECT_FALSE(makePlatformServices().instanceLock->acquire()) << "a second start is refused";
    EXPECT_FALSE(Win32InstanceLock().acquire());
}

}  // namespace
