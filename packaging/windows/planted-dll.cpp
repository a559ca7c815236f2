// SPDX-License-Identifier: GPL-3.0-or-later
// A harmless stand-in for a DLL a pupil plants beside the program: when
// loaded, it leaves <its own path>.loaded, which the smoke test looks for.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        std::wstring path(MAX_PATH, L'\0');
        path.resize(GetModuleFileNameW(instance, path.data(), MAX_PATH));
        HANDLE file = CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
    }
    return TRUE;
}
