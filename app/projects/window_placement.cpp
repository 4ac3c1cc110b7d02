#include "projects/window_placement.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "common/text.h"

namespace snapdesk {
namespace {

constexpr const char* kDocumentMark = "mdi:";
// Far beyond any desktop; keeps every width and height within 32 bits.
constexpr long long kFarthest = 1000000;

const char* stateName(WindowState state) {
    switch (state) {
        case WindowState::Maximized:
            return "maximized";
        case WindowState::Minimized:
            return "minimized";
        case WindowState::Normal:
            break;
    }
    return "normal";
}

std::optional<WindowState> stateNamed(const std::string& name) {
    for (const WindowState s :
         {WindowState::Normal, WindowState::Maximized, WindowState::Minimized}) {
        if (name == stateName(s)) {
            return s;
        }
    }
    return std::nullopt;
}

std::string rectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string placedText(const WindowPlacement& p) {
    return std::string(stateName(p.state)) + "," + rectText(p.normal);
}

std::vector<std::string> split(const std::string& s, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at = s.find(separator); at != std::string::npos;
         at = s.find(separator, start)) {
        fields.push_back(text::trim(s.substr(start, at - start)));
        start = at + 1;
    }
    fields.push_back(text::trim(s.substr(start)));
    return fields;
}

std::optional<std::int32_t> integer(const std::string& field) {
    if (field.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(field.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < -kFarthest || value > kFarthest) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// Four integers from `first` on that make a rectangle with some area.
std::optional<Rect> rectAt(const std::vector<std::string>& fields, std::size_t first) {
    Rect r;
    std::int32_t* sides[] = {&r.left, &r.top, &r.right, &r.bottom};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto value = integer(fields[first + i]);
        if (!value) {
            return std::nullopt;
        }
        *sides[i] = *value;
    }
    if (r.right <= r.left || r.bottom <= r.top) {
        return std::nullopt;
    }
    return r;
}

std::int64_t overlap(const Rect& a, const Rect& b) {
    const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

std::int64_t gap(std::int32_t lowEnd, std::int32_t highStart) {
    return std::max<std::int64_t>(0, std::int64_t{highStart} - lowEnd);
}

std::int64_t distanceSquared(const Rect& a, const Rect& b) {
    const std::int64_t dx = std::max(gap(a.right, b.left), gap(b.right, a.left));
    const std::int64_t dy = std::max(gap(a.bottom, b.top), gap(b.bottom, a.top));
    return dx * dx + dy * dy;
}

std::int32_t fitted(std::int32_t start, std::int32_t size, std::int32_t low, std::int32_t high) {
    return std::max(low, std::min(start, high - size));
}

}  // namespace

std::string placementText(const SavedPlacement& placement) {
    std::string textOut;
    if (placement.window) {
        textOut = placedText(*placement.window);
        if (placement.monitorWork) {
            textOut += "," + rectText(*placement.monitorWork);
        }
    }
    if (placement.document) {
        textOut += (textOut.empty() ? "" : ";") + std::string(kDocumentMark) +
                   placedText(*placement.document);
    }
    return textOut;
}

SavedPlacement parsePlacement(const std::string& textIn) {
    SavedPlacement placement;
    for (std::string part : split(textIn, ';')) {
        const bool document = text::beginsWith(part, kDocumentMark);
        if (document) {
            part = part.substr(std::string(kDocumentMark).size());
        }
        const std::vector<std::string> fields = split(part, ',');
        if (fields.size() != 5 && (document || fields.size() != 9)) {
            continue;
        }
        const auto state = stateNamed(fields[0]);
        const auto rect = rectAt(fields, 1);
        if (!state || !rect) {
            continue;
        }
        if (document) {
            placement.document = WindowPlacement{*state, *rect};
            continue;
        }
        std::optional<Rect> work;
        if (fields.size() == 9) {
            work = rectAt(fields, 5);
            if (!work) {
                continue;
            }
        }
        placement.window = WindowPlacement{*state, *rect};
        placement.monitorWork = work;
    }
    return placement;
}

std::optional<Rect> workAreaHolding(const Rect& rect, const std::vector<MonitorArea>& monitors) {
    std::optional<Rect> best;
    std::int64_t most = 0;
    for (const MonitorArea& m : monitors) {
        if (const std::int64_t shared = overlap(rect, m.area); shared > most) {
            most = shared;
            best = m.work;
        }
    }
    return best;
}

Rect placedOnMonitors(const Rect& rect, const std::optional<Rect>& savedWork,
                      const std::vector<MonitorArea>& monitors) {
    if (monitors.empty()) {
        return rect;
    }
    if (savedWork) {
        for (const MonitorArea& m : monitors) {
            const Rect& w = m.work;
            if (w.left == savedWork->left && w.top == savedWork->top &&
                w.right == savedWork->right && w.bottom == savedWork->bottom) {
                return rect;
            }
        }
    }
    // The monitor sharing most with the rectangle, else the closest one.
    const MonitorArea* nearest = &monitors.front();
    std::int64_t most = 0;
    std::int64_t closest = std::numeric_limits<std::int64_t>::max();
    for (const MonitorArea& m : monitors) {
        const std::int64_t shared = overlap(rect, m.area);
        const std::int64_t distance = distanceSquared(rect, m.area);
        if (shared > most || (most == 0 && shared == 0 && distance < closest)) {
            nearest = &m;
            most = shared;
            closest = distance;
        }
    }
    const Rect& work = nearest->work;
    const std::int32_t width = std::min(rect.width(), work.width());
    const std::int32_t height = std::min(rect.height(), work.height());
    const std::int32_t left = fitted(rect.left, width, work.left, work.right);
    const std::int32_t top = fitted(rect.top, height, work.top, work.bottom);
    return {left, top, left + width, top + height};
}

}  // namespace snapdesk
