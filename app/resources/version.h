/* The program's version and publisher, for the version resource, the About box and the
   installer (cmake/Version.cmake reads this file). */
#pragma once

#define SNAPDESK_VERSION_MAJOR 0
#define SNAPDESK_VERSION_MINOR 1
#define SNAPDESK_VERSION_REVISION 0
#define SNAPDESK_VERSION_TEXT "0.1.0"
#define SNAPDESK_PUBLISHER "Zim Software"
