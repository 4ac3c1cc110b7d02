#include "platform/win32/win32_processes.h"

// clang-format off
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include <array>
#include <cwchar>

#include "base/system_function.h"
#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

constexpr DWORD kModuleSlots = 100;
constexpr DWORD kPathChars = 260;

// kernel32's package questions share one shape: the process, the buffer's length in
// characters (in and out) and the buffer. MinGW-w64 declares neither of them.
using PackageQuery = LONG(WINAPI*)(HANDLE process, UINT32* length, PWSTR buffer);
constexpr UINT32 kPackageFullNameChars = 127 + 1;  // PACKAGE_FULL_NAME_MAX_LENGTH
constexpr UINT32 kAppIdChars = 130 + 1;            // APPLICATION_USER_MODEL_ID_MAX_LENGTH

PackageQuery kernelPackageQuery(const char* name) {
    return win32::systemFunction<PackageQuery>(L"kernel32.dll", name);
}

// Looked up once. Windows 7 has neither; Wine 8 lacks GetApplicationUserModelId.
struct PackageQueries {
    PackageQuery packageFullName = kernelPackageQuery("GetPackageFullName");
    PackageQuery applicationUserModelId = kernelPackageQuery("GetApplicationUserModelId");
};

const PackageQueries& packageQueries() {
    static const PackageQueries queries;
    return queries;
}

// One question to the system where it has it (Vista on); reading the process's module list
// takes several and holds the window list's refresh far longer.
using ImageNameQuery = BOOL(WINAPI*)(HANDLE process, DWORD flags, PWSTR buffer, PDWORD length);

ImageNameQuery imageNameQuery() {
    static const auto query =
        win32::systemFunction<ImageNameQuery>(L"kernel32.dll", "QueryFullProcessImageNameW");
    return query;
}

std::optional<std::string> imageName(std::uint32_t processId) {
    const ImageNameQuery query = imageNameQuery();
    if (query == nullptr) {
        return std::nullopt;
    }
    const win32::unique_handle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    std::array<wchar_t, kPathChars> path{};
    DWORD length = kPathChars;
    if (!query(process.get(), 0, path.data(), &length)) {
        return std::nullopt;
    }
    return win32::toUtf8(std::wstring_view(path.data(), length));
}

}  // namespace

bool Win32Processes::isWindowsNT() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::optional<std::string> Win32Processes::moduleFileName(std::uint32_t processId) {
    if (auto name = imageName(processId)) {
        return name;
    }
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

std::optional<std::string> Win32Processes::applicationUserModelId(std::uint32_t processId) {
    const PackageQueries& kernel = packageQueries();
    if (kernel.packageFullName == nullptr) {
        return std::nullopt;
    }
    const win32::unique_handle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    // Most processes have no package; a packaged helper process may have no application.
    std::array<wchar_t, kPackageFullNameChars> packageName{};
    UINT32 length = kPackageFullNameChars;
    if (kernel.packageFullName(process.get(), &length, packageName.data()) != ERROR_SUCCESS ||
        kernel.applicationUserModelId == nullptr) {
        return std::nullopt;
    }
    std::array<wchar_t, kAppIdChars> appId{};
    length = kAppIdChars;
    if (kernel.applicationUserModelId(process.get(), &length, appId.data()) != ERROR_SUCCESS ||
        appId[0] == L'\0') {
        return std::nullopt;
    }
    return win32::toUtf8(std::wstring_view(appId.data(), wcsnlen(appId.data(), kAppIdChars)));
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
