#include "win32/common_controls.h"

#include <commctrl.h>

CommonControls::CommonControls(DWORD classes)
    // Found through the manifest's side-by-side binding; the process searches System32 alone otherwise.
    : library_(LoadLibraryW(L"comctl32.dll")) {
    using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (const auto initialise = function<Initialise>("InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = classes;
        initialise(&controls);
    }
}

CommonControls::~CommonControls() {
    if (library_ != nullptr) {
        FreeLibrary(library_);
    }
}
