#include "mainwindow/tray_menu.h"

#include "common/make_short_file_name.h"
#include "common/text.h"

namespace snapdesk {
namespace {

constexpr int kFirstTrayDocument = 2;
constexpr const char* kCommentGap = "         \t";  // nine blanks and a TAB

}  // namespace

TrayDecision trayDecision(bool forMainWindow, unsigned message, std::uintptr_t lParam,
                          bool activateOnDoubleClick, const std::string& windowStateText) {
    TrayDecision decision;
    if (!forMainWindow || message != kTrayCallbackMessage) {
        return decision;
    }
    decision.action = TrayAction::Nothing;
    decision.show = windowStateText == "NORMAL" ? ShowCommand::Restore : ShowCommand::Maximize;
    switch (static_cast<unsigned>(lParam)) {
        case kTrayLeftButtonUp:
            if (!activateOnDoubleClick) {
                decision.action = TrayAction::RestoreWindow;
            }
            break;
        case kTrayLeftButtonDoubleClick:
            decision.action = TrayAction::RestoreWindow;
            break;
        case kTrayRightButtonUp:
            decision.action = TrayAction::ShowPopup;
            break;
        default:
            break;
    }
    return decision;
}

std::string trayItemCaption(int number, const std::string& captionString,
                            const std::string& comment) {
    std::string caption =
        std::to_string(number) + ". " + makeShortFileName(captionString, kDoubleAmpersands);
    if (!comment.empty()) {
        caption += kCommentGap;
        caption += "\"" + text::doubleAmpersands(comment) + "\"";
    }
    return caption;
}

void buildSystemTrayList(DynamicItemArray& tray, const CoffeeShopList& list) {
    int next = kFirstTrayDocument;
    int number = 0;
    auto add = [&](long i) {
        ++number;
        tray.show(next++, trayItemCaption(number, list.CaptionString(i), list.CommentString(i)),
                  std::to_string(i), list.hWnd(i));
    };
    for (long i = 1; i <= list.count(); ++i) {
        if (list.doDisplay(i) && list.inTab(i) == kProjectTab) {
            add(i);
        }
    }
    bool separated = number == 0;
    for (long i = 1; i <= list.count(); ++i) {
        if (list.doDisplay(i) && list.inTab(i) != kProjectTab) {
            if (!separated) {
                tray.show(next++, kSeparatorCaption, kTagNone);
                separated = true;
            }
            add(i);
        }
    }
    if (number == 0) {
        tray.show(kFirstTrayDocument, kNoFilesOpen, kTagNone);
        next = kFirstTrayDocument + 1;
    }
    // Left over from a longer menu: never shown with a stale record.
    tray.hideFrom(next);
}

void hideSystemTrayDocuments(DynamicItemArray& tray) {
    tray.hideFrom(kFirstTrayDocument);
}

}  // namespace snapdesk
