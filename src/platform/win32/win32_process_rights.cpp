#include "platform/win32/win32_process_rights.h"

#include "platform/win32/win32_handle.h"

#include <vector>

namespace {

std::optional<DWORD> integrityLevelOf(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
        return std::nullopt;
    }
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
    const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
    if (count == 0) {
        return std::nullopt;
    }
    return *GetSidSubAuthority(label->Label.Sid, count - 1u);
}

std::optional<bool> elevationOf(HANDLE token) {
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) {
        return std::nullopt;
    }
    return elevation.TokenIsElevated != 0;
}

// After a failed open: refused, or unknown for another reason (the process has ended, say).
ProcessRights deniedOrUnknown() {
    ProcessRights rights;
    rights.accessDenied = GetLastError() == ERROR_ACCESS_DENIED;
    return rights;
}

}  // namespace

ProcessRights rightsOfProcess(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) {
        return deniedOrUnknown();
    }
    const KernelHandle owned(token);
    return {integrityLevelOf(owned.get()), elevationOf(owned.get())};
}

ProcessRights rightsOfWindow(HWND window) {
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0 || processId == 0) {
        return {};
    }
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return deniedOrUnknown();
    }
    return rightsOfProcess(process.get());
}

bool keysWouldBeDropped(const ProcessRights& sender, const ProcessRights& target) {
    const bool higherLevel =
        sender.integrityLevel && target.integrityLevel && *target.integrityLevel > *sender.integrityLevel;
    const bool elevatedAboveUs = sender.elevated && target.elevated && *target.elevated && !*sender.elevated;
    return target.accessDenied || higherLevel || elevatedAboveUs;
}
