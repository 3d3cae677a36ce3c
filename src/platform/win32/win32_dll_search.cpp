#include "platform/win32/win32_dll_search.h"

#include <windows.h>

bool restrictDllSearchToSystem32() {
    return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}
