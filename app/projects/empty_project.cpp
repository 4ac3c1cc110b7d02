#include "projects/empty_project.h"

namespace snapdesk {

const EmptyProjectLines& noEmptyProjectLines(bool tabHasRecords) {
    static const EmptyProjectLines noRecords{
        "There are no files in the Project Tab.", "Use the 'To Project' button or",
        "  right click on an image to move", "  the files you wish comprise the Project",
        "  into the Project Tab and then Save the Project."};
    static const EmptyProjectLines noneToSave{
        "There are no files in the Project Tab ", "that you wish to save as part of the Project.",
        "", "Please add files to the Project Tab before", "  the Project can be saved."};
    return tabHasRecords ? noneToSave : noRecords;
}

}  // namespace snapdesk
