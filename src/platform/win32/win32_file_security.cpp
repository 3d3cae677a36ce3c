#include "platform/win32/win32_file_security.h"

#include "platform/win32/win32_handle.h"

#include <sddl.h>
#include <winioctl.h>

#include <cstddef>
#include <string>
#include <vector>

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

// The volume that holds the path ("C:\\", or the folder a volume is mounted on), with its separator.
std::wstring volumeOf(const std::wstring& path) {
    std::vector<wchar_t> volume(path.size() + 2, L'\0');
    if (!GetVolumePathNameW(path.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) {
        return {};
    }
    return volume.data();
}

// Whether the volume's disk hangs on a bus that is plugged in from outside (USB, FireWire, a card reader):
// Windows calls an external disk fixed, and only its device tells it apart.
bool onExternalBus(const std::wstring& volume) {
    wchar_t name[64] = {};  // "\\?\Volume{guid}\"
    if (!GetVolumeNameForVolumeMountPointW(volume.c_str(), name, 64)) {
        return false;
    }
    std::wstring device(name);
    if (!device.empty() && device.back() == L'\\') {
        device.pop_back();  // the volume itself, not its root folder
    }
    // No access asked: the device's description needs none, and no administrator.
    const KernelHandle handle(CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        return false;
    }
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    STORAGE_DEVICE_DESCRIPTOR descriptor{};
    DWORD size = 0;
    if (!DeviceIoControl(handle.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor,
                         sizeof descriptor, &size, nullptr) ||
        size < offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof descriptor.BusType) {
        return false;
    }
    switch (descriptor.BusType) {
        case BusTypeUsb:
        case BusType1394:
        case BusTypeSd:
        case BusTypeMmc:
            return true;
        default:
            return descriptor.RemovableMedia != FALSE;
    }
}

bool travelsToOtherComputers(const std::wstring& folder) {
    const std::wstring volume = volumeOf(folder);
    if (volume.empty()) {
        return false;
    }
    switch (GetDriveTypeW(volume.c_str())) {
        case DRIVE_REMOVABLE:
            return true;
        case DRIVE_FIXED:
            return onExternalBus(volume);
        default:  // a network drive keeps the protection; a CD or a RAM disk is not written to
            return false;
    }
}

}  // namespace

OwnedDescriptor NewFileSecurity(const std::wstring& folder) {
    return travelsToOtherComputers(folder) ? nullptr : PersonalFileSecurity();
}

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
