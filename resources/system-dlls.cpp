// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program loads the DLLs of Windows from System32 alone, never
// from its own folder: unzipped onto a shared drive, a USB stick or into
// Downloads, that folder is one a pupil can write to, and a DLL put there
// would run under the teacher's account.
#include <windows.h>

// The imports Windows resolves at start (10 1607 and later):
// DependentLoadFlags of the load configuration directory. GNU ld does not
// point the header at this table; cmake/pe-directories.py does, after
// linking. MSVC's linker makes the table itself (/DEPENDENTLOADFLAG).
#ifndef _MSC_VER
constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 LoadConfiguration()
{
    IMAGE_LOAD_CONFIG_DIRECTORY64 table {};
    table.Size = sizeof table;
    table.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32; // DependentLoadFlags in newer headers
    return table;
}
extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = LoadConfiguration();

// An empty entry after the delay-import descriptors, which dlltool's
// libraries place in .text$2 (the linker sorts .text$* by name), so that the
// table cmake/pe-directories.py points the header at ends as tools expect.
extern "C"
    [[gnu::section(".text$3"), gnu::used, gnu::aligned(16)]] const unsigned char nihilist_delay_import_end[32] {};
#endif

namespace {

// Everything loaded later: the delay-loaded imports, Qt's own LoadLibrary
// calls and those of the system DLLs. Run before any other initializer.
void SearchSystem32Only()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

#ifdef _MSC_VER
#pragma section(".CRT$XCB", read)
__declspec(allocate(".CRT$XCB")) void (*searchSystem32Only)() = SearchSystem32Only;
#else
[[gnu::constructor(101)]] void RunSearchSystem32Only()
{
    SearchSystem32Only();
}
#endif

} // namespace
