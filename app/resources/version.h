/* The program's version, for the version resource and the About box. */
#pragma once

#define SNAPDESK_VERSION_MAJOR 0
#define SNAPDESK_VERSION_MINOR 1
#define SNAPDESK_VERSION_REVISION 0
#define SNAPDESK_VERSION_TEXT "0.1.0"
