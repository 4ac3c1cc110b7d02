#include "common/modern_programs.h"
#include "location/path_search.h"
#include "tracking/browser_captions.h"

namespace snapdesk {

// Pages of today's browsers: the address from the browser's own history by the page's title,
// and for the Chromium family the profile the page was shown in, so that it opens there again.
void PathSearch::findModernBrowserPaths() {
    if (sources_.modernHistory == nullptr) {
        return;
    }
    ModernBrowserHistory& history = *sources_.modernHistory;
    // The snapshots taken for this save go, whatever ends it.
    struct PassEnd {
        ModernBrowserHistory& history;
        ~PassEnd() { history.endPass(); }
    } passEnd{history};
    for (long i = list_.count(); i >= 1; --i) {
        const ModernBrowser browser = modernBrowserOf(list_.EXEPath(i));
        if (!onProjectTab(i) || browser == ModernBrowser::None) {
            continue;
        }
        std::string profile;
        if (isChromiumFamily(browser)) {
            profile = history.profileFolder(
                browser, browserCaptionProfile(list_.WindowText(i), list_.EXEPath(i)));
            list_.setBrowserProfile(i, profile);
        }
        const std::string address = history.address(browser, list_.CaptionString(i), profile);
        // A page no history knows keeps the address the user gave it at an earlier save.
        if (address == kNotFound) {
            continue;
        }
        list_.setFilePath(i, address);
        list_.setSearchDone(i, true);
    }
}

}  // namespace snapdesk
