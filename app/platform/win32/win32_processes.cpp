#include "platform/win32/win32_processes.h"

// clang-format off
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include <array>
#include <cwchar>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

constexpr DWORD kModuleSlots = 100;
constexpr DWORD kPathChars = 260;

}  // namespace

bool Win32Processes::isWindowsNT() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::optional<std::string> Win32Processes::moduleFileName(std::uint32_t processId) {
    const win32::unique_handle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    std::array<HMODULE, kModuleSlots> modules{};
    DWORD needed = 0;
    if (!EnumProcessModules(process.get(), modules.data(),
                            static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed)) {
        return std::nullopt;
    }
    std::array<wchar_t, kPathChars> path{};
    const DWORD length = GetModuleFileNameExW(process.get(), modules[0], path.data(), kPathChars);
    return win32::toUtf8(std::wstring_view(path.data(), length));
}

std::vector<ProcessEntry> Win32Processes::processSnapshot() {
    std::vector<ProcessEntry> entries;
    const win32::unique_handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return entries;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        const std::size_t length = wcsnlen(entry.szExeFile, MAX_PATH);
        entries.push_back(
            {entry.th32ProcessID, win32::toUtf8(std::wstring_view(entry.szExeFile, length))});
    }
    return entries;
}

}  // namespace snapdesk
