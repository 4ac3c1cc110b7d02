// The toolbar: a common-controls toolbar across the top with an image on every button and,
// while text labels are on, the caption under it.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "mainwindow/win32/button_bar.h"

#include <array>
#include <string>
#include <utility>

#include "base/window_dpi.h"
#include "mainwindow/menu_ids.h"
#include "mainwindow/toolbar_model.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

struct WideTexts {
    std::array<std::wstring, kToolbarButtons> captions;
    std::array<std::wstring, kToolbarButtons> toolTips;
};

// The toolbar needs wide strings that outlive every call.
const WideTexts& wideTexts() {
    static const WideTexts texts = [] {
        WideTexts made;
        for (std::size_t i = 0; i < kToolbarButtons; ++i) {
            made.captions[i] = win32::toWide(buttonBarButtons()[i].caption);
            made.toolTips[i] = win32::toWide(buttonBarButtons()[i].toolTip);
        }
        return made;
    }();
    return texts;
}

int stripOfSize(int size) {
    return size == 32 ? IDB_TOOLBAR32 : size == 24 ? IDB_TOOLBAR24 : IDB_TOOLBAR;
}

win32::unique_image_list loadImages(int size) {
    win32::unique_image_list images(
        ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(kToolbarButtons), 0));
    // The list copies the images: the strip is ours to free.
    const win32::unique_hbitmap strip(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(stripOfSize(size)), IMAGE_BITMAP, 0, 0, 0)));
    if (images && strip) {
        ImageList_AddMasked(images.get(), strip.get(), kTransparent);
    }
    return images;
}

}  // namespace

ButtonBar::ButtonBar(HWND parent) {
    toolbar_ = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0,
        0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (toolbar_ == nullptr) {
        return;
    }
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    imageSize_ = toolbarImageSize(win32::windowDpi(parent));
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize_, imageSize_));
    images_ = loadImages(imageSize_);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    addButtons(true);
    search_ = std::make_unique<SearchBox>(toolbar_, win32::windowDpi(parent));
    autoSize();
}

void ButtonBar::setTextLabels(bool on) {
    textLabels_ = on;
    rebuildButtons();
}

void ButtonBar::setDpi(int dpi) {
    if (search_) {
        search_->setDpi(dpi);
    }
    const int size = toolbarImageSize(dpi);
    if (toolbar_ == nullptr || size == imageSize_) {
        return;
    }
    imageSize_ = size;
    auto images = loadImages(size);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    images_ = std::move(images);  // the old list only after the toolbar has let it go
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    rebuildButtons();
}

// The toolbar sizes its buttons when they are added: put them in again with or without their
// captions, at the present image size.
void ButtonBar::rebuildButtons() {
    while (SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0) > 0) {
        SendMessageW(toolbar_, TB_DELETEBUTTON, 0, 0);
    }
    SendMessageW(toolbar_, TB_SETMAXTEXTROWS, textLabels_ ? 1 : 0, 0);
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, 0));
    addButtons(textLabels_);
    autoSize();
}

void ButtonBar::addButtons(bool withCaptions) {
    // Odd positions are buttons, even ones separators.
    std::array<TBBUTTON, kToolbarButtons * 2 - 1> buttons{};
    for (std::size_t i = 0; i < kToolbarButtons; ++i) {
        TBBUTTON& b = buttons[i * 2];
        b.iBitmap = static_cast<int>(i);
        b.idCommand = buttonBarButtons()[i].id;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON;
        b.iString = withCaptions ? reinterpret_cast<INT_PTR>(wideTexts().captions[i].c_str()) : -1;
        if (i + 1 < kToolbarButtons) {
            buttons[i * 2 + 1].fsStyle = BTNS_SEP;
        }
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
}

void ButtonBar::autoSize() {
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    if (search_) {
        search_->place();
    }
}

int ButtonBar::heightPixels() const {
    RECT r{};
    if (toolbar_ == nullptr || !GetWindowRect(toolbar_, &r)) {
        return 0;
    }
    return r.bottom - r.top;
}

const wchar_t* ButtonBar::toolTip(int commandId) {
    for (std::size_t i = 0; i < kToolbarButtons; ++i) {
        if (buttonBarButtons()[i].id == commandId) {
            return wideTexts().toolTips[i].c_str();
        }
    }
    return nullptr;
}

}  // namespace snapdesk
