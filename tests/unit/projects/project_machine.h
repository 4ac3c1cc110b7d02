#pragma once

// A simulated machine with the project store, the folder list and the location search on it,
// as the project commands find them; `Host` stands for the main window.

#include <string>
#include <utility>

#include "location/dir_tree.h"
#include "location/path_search.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_shell.h"
#include "projects/project_store.h"
#include "sim_world.h"
#include "support/project_fakes.h"

namespace snapdesk::testing {

struct NoLinks : LinkPathResolver {
    std::string getLinkPath(WindowHandle, const std::string&) override { return {}; }
};

template <class Host>
struct ProjectMachine {
    explicit ProjectMachine(std::string programFolder) : program(std::move(programFolder)) {}

    std::string program;
    SimWorld world;
    sim::SimFileSystem& files = world.machine.files;
    sim::SimUi& ui = world.machine.ui;
    sim::SimShell shell;
    sim::SimAutomation automation;
    NoLinks links;
    Host host;
    testing_fakes::NoStoreHost storeHost;
    testing_fakes::DirectSplash splash;
    BrowserHistory history{files, shell};
    ProjectStore store{files, shell, ui, world.list, storeHost, program};
    DirectoryTree tree{files, shell, ui, program + "\\datafiles", "1.0.0"};
    PathSearch search{world.list, world.machine.platform, shell,
                      PathSources{automation, links, history, store, tree}, host};
};

}  // namespace snapdesk::testing
