// Office documents named by their web address, mapped to the files the sync client keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "location/cloud_files.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_registry.h"

namespace snapdesk {
namespace {

const std::string kProviders = "Software\\SyncEngines\\Providers\\OneDrive\\";

TEST(CloudFiles, TheLongestNamespaceHoldsTheAddressAndTheRestIsDecoded) {
    const std::vector<SyncRoot> roots = {
        {"https://contoso.sharepoint.com/sites/Team/", "C:\\Users\\me\\Contoso\\Team"},
        {"https://contoso.sharepoint.com/sites/Team/Shared%20Documents/",
         "C:\\Users\\me\\Contoso\\Team - Documents"},
        {"https://d.docs.live.net/1A2B3C", "C:\\Users\\me\\OneDrive\\"},
    };
    EXPECT_EQ(syncedPathOf("https://contoso.sharepoint.com/sites/Team/Shared Documents/Q3/"
                           "Plan%20%C3%A9t%C3%A9.xlsx",
                           roots),
              "C:\\Users\\me\\Contoso\\Team - Documents\\Q3\\Plan \xC3\xA9t\xC3\xA9.xlsx");
    EXPECT_EQ(syncedPathOf("https://contoso.sharepoint.com/sites/Team/Notes/a.docx", roots),
              "C:\\Users\\me\\Contoso\\Team\\Notes\\a.docx");
    // The account id in any case; a query after the name is not part of it.
    EXPECT_EQ(syncedPathOf("https://d.docs.live.net/1a2b3c/Documents/Book%2B1.xlsx?web=1", roots),
              "C:\\Users\\me\\OneDrive\\Documents\\Book+1.xlsx");
    // A namespace is a whole folder of the address, and a file must follow it.
    EXPECT_EQ(syncedPathOf("https://d.docs.live.net/1a2b3cd/Book.xlsx", roots), "");
    EXPECT_EQ(syncedPathOf("https://d.docs.live.net/1a2b3c/", roots), "");
    EXPECT_EQ(syncedPathOf("https://d.docs.live.net/1a2b3c/%2E%2E/Windows/x.xlsx", roots), "");
    EXPECT_EQ(syncedPathOf("https://other.example/1a2b3c/Book.xlsx", roots), "");
    // A "%" that starts no escape stays as it is.
    EXPECT_EQ(syncedPathOf("https://d.docs.live.net/1a2b3c/100%25%/x%zz.docx", roots),
              "C:\\Users\\me\\OneDrive\\100%%\\x%zz.docx");
}

TEST(CloudFiles, AnOfficeNameBecomesTheSyncedFileOnlyWhenThatFileIsThere) {
    sim::SimRegistry registry;
    sim::SimFileSystem files;
    registry.writeUserString(kProviders + "Personal", "UrlNamespace",
                             "https://d.docs.live.net/1a2b3c/");
    registry.writeUserString(kProviders + "Personal", "MountPoint", "C:\\Users\\me\\OneDrive");
    // A provider key without a mount point maps nothing.
    registry.writeUserString(kProviders + "Broken", "UrlNamespace", "https://d.docs.live.net/");
    files.addFile("C:\\Users\\me\\OneDrive\\Budget 2024.xlsx");
    files.addFolder("C:\\Users\\me\\OneDrive\\Folder.xlsx");

    const auto location = [&](const std::string& name) {
        return officeDocumentLocation(name, registry, files);
    };
    EXPECT_EQ(location("https://d.docs.live.net/1a2b3c/Budget%202024.xlsx"),
              "C:\\Users\\me\\OneDrive\\Budget 2024.xlsx");
    EXPECT_EQ(location("https://d.docs.live.net/1a2b3c/Missing.xlsx"),
              "https://d.docs.live.net/1a2b3c/Missing.xlsx");
    EXPECT_EQ(location("https://d.docs.live.net/1a2b3c/Folder.xlsx"),
              "https://d.docs.live.net/1a2b3c/Folder.xlsx");
    EXPECT_EQ(location("https://d.docs.live.net/9z/Budget%202024.xlsx"),
              "https://d.docs.live.net/9z/Budget%202024.xlsx");
    EXPECT_EQ(location("C:\\Docs\\report.docx"), "C:\\Docs\\report.docx");
    registry.lockKey(kProviders.substr(0, kProviders.size() - 1));
    EXPECT_EQ(location("https://d.docs.live.net/1a2b3c/Budget%202024.xlsx"),
              "https://d.docs.live.net/1a2b3c/Budget%202024.xlsx");
}

}  // namespace
}  // namespace snapdesk
