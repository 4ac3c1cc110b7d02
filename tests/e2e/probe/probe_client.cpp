#include "probe_client.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "inside_probe.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk::testing {

namespace {

// A function of the probe module; void (*)() passes between function types without a warning.
template <typename Function>
Function probeFunction(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

InsideProbe::InsideProbe(HWND window) : window_(window) {
    DeleteFileW(insideProbeLogPath().c_str());
    module_ = LoadLibraryW(windowsPath(SNAPDESK_INSIDE_PROBE).c_str());
    if (module_ == nullptr) {
        return;
    }
    const auto attach = probeFunction<InsideProbeAttach>(module_, "insideProbeAttach");
    attached_ = attach != nullptr && attach(GetWindowThreadProcessId(window, nullptr)) != FALSE;
}

InsideProbe::~InsideProbe() {
    if (module_ != nullptr) {
        if (const auto detach = probeFunction<InsideProbeDetach>(module_, "insideProbeDetach")) {
            detach();
        }
        FreeLibrary(module_);
    }
}

std::vector<ProbeRecord> InsideProbe::records() const {
    std::ifstream in(std::filesystem::path(insideProbeLogPath()), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::wistringstream lines(win32::toWide(text));
    std::vector<ProbeRecord> found;
    std::optional<ProbeRecord> open;
    for (std::wstring line; std::getline(lines, line);) {
        if (!open) {
            open = ProbeRecord{line, {}};
        } else if (line == L"end") {
            found.push_back(std::move(*open));
            open.reset();
        } else {
            open->lines.push_back(line);
        }
    }
    return found;  // a record still being written is left for the next look
}

std::size_t InsideProbe::count(const std::wstring& kind) const {
    std::size_t n = 0;
    for (const ProbeRecord& record : records()) {
        n += record.kind == kind ? 1 : 0;
    }
    return n;
}

std::optional<ProbeRecord> InsideProbe::waitForRecord(const std::wstring& kind, std::size_t index,
                                                      Milliseconds timeout) const {
    std::optional<ProbeRecord> result;
    waitUntil(
        [&] {
            std::size_t n = 0;
            for (ProbeRecord& record : records()) {
                if (record.kind == kind && n++ == index) {
                    result = std::move(record);
                    return true;
                }
            }
            return false;
        },
        timeout);
    return result;
}

std::optional<ProbeRecord> InsideProbe::look(const std::wstring& kind, WPARAM request) const {
    const std::size_t before = count(kind);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window_, RegisterWindowMessageW(kInsideProbeLookMessage), request, 0,
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    return waitForRecord(kind, before);
}

std::optional<ShownMenu> InsideProbe::menuBar() const {
    const auto record = look(L"bar");
    if (!record) {
        return std::nullopt;
    }
    return parseMenu(record->lines);
}

std::optional<bool> InsideProbe::iconPresent(const std::optional<ProbeRecord>& tray) {
    if (!tray || tray->lines.empty()) {
        return std::nullopt;
    }
    return tray->lines[0] == L"icon present";
}

std::optional<bool> InsideProbe::trayIconPresent() const {
    return iconPresent(look(L"tray"));
}

std::optional<bool> InsideProbe::dropTrayIcon() const {
    return iconPresent(look(L"tray", kInsideProbeDropTrayIcon));
}

std::optional<ProbeRecord> InsideProbe::scale() const {
    return look(L"scale", kInsideProbeMeasureScale);
}

}  // namespace snapdesk::testing
