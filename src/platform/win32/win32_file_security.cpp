#include "platform/win32/win32_file_security.h"

#include "platform/win32/win32_handle.h"

#include <sddl.h>

#include <string>

namespace {

// The text form of a SID, as a security descriptor's text names it.
std::wstring sidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) {
        return {};
    }
    std::wstring result(text);
    LocalFree(text);
    return result;
}

// The SID of the user this process runs as.
std::wstring currentUserSid() {
    HANDLE processToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &processToken)) {
        return {};
    }
    const KernelHandle token(processToken);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    return sidText(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
}

std::wstring wellKnownSid(WELL_KNOWN_SID_TYPE type) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    return CreateWellKnownSid(type, nullptr, sid, &size) ? sidText(sid) : std::wstring();
}

}  // namespace

OwnedDescriptor PersonalFileSecurity() {
    std::wstring sddl = L"D:P";  // protected: the folder's inheritable entries stay out
    for (const std::wstring& sid :
         {currentUserSid(), wellKnownSid(WinLocalSystemSid), wellKnownSid(WinBuiltinAdministratorsSid)}) {
        if (sid.empty()) {
            return nullptr;
        }
        sddl += L"(A;;FA;;;" + sid + L")";
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        return nullptr;
    }
    return OwnedDescriptor(descriptor);
}
