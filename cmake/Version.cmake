# The program's version and publisher are written once, in app/resources/version.h; the
# build, the version resource and the installer all read them from there.
function(snapdesk_read_define name out)
    file(STRINGS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../app/resources/version.h line
         REGEX "^#define ${name} \"")
    string(REGEX REPLACE "^#define ${name} \"(.*)\".*$" "\\1" value "${line}")
    if(value STREQUAL "")
        message(FATAL_ERROR "app/resources/version.h has no ${name}")
    endif()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

snapdesk_read_define(SNAPDESK_VERSION_TEXT SNAPDESK_VERSION)
snapdesk_read_define(SNAPDESK_PUBLISHER SNAPDESK_PUBLISHER)
