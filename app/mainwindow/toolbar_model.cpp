#include "mainwindow/toolbar_model.h"

#include "mainwindow/menu_ids.h"

namespace snapdesk {
namespace {

constexpr std::array<ToolbarButton, kToolbarButtons> kButtons{{
    {1, "NewProject", "New Project", "Open a new empty project.", ID_mnuNewProject, false},
    {3, "OpenProject", "Open Project", "Open or Delete a saved Project", ID_mnuOpen, false},
    {5, "SaveProject", "Save Project", "Save the current Project", ID_mnuSaveProject, false},
    {7, "updateimages", "Update Image", "Update an image display.", ID_buttonUpdateImages, true},
    {9, "addtoproject", "To Project", "Move a file to the Project tab.", ID_buttonAddToProject,
     true},
    {11, "movefromproject", "From Project", "Move a file out of the Project tab.",
     ID_buttonMoveFromProject, true},
    {13, "refreshproject", "Refresh Project", "Refresh the current project.",
     ID_buttonRefreshProject, false},
}};

}  // namespace

const std::array<ToolbarButton, kToolbarButtons>& buttonBarButtons() {
    return kButtons;
}

const ToolbarButton* findButton(const std::string& key) {
    for (const ToolbarButton& button : kButtons) {
        if (key == button.key) {
            return &button;
        }
    }
    return nullptr;
}

const ToolbarButton* findButton(int id) {
    for (const ToolbarButton& button : kButtons) {
        if (id == button.id) {
            return &button;
        }
    }
    return nullptr;
}

std::string buttonCaption(const ToolbarButton& button, bool textLabels) {
    return textLabels ? button.caption : "";
}

int toolbarImageSize(int dpi) {
    if (dpi <= 120) {
        return 16;
    }
    return dpi <= 168 ? 24 : 32;
}

}  // namespace snapdesk
