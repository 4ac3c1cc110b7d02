# SQLite's amalgamation, compiled into the program to read the browsers' history files. The
# npm package below carries it (deps/sqlite3/sqlite3.c and sqlite3.h); its tarball is fetched
# once with `npm pack`, checked against the hash written here and kept in a cache folder named
# after that hash, so that every preset and every checkout of this machine shares one download.
# To move to another version, change the three lines below together.
set(SNAPDESK_SQLITE_PACKAGE "better-sqlite3")
set(SNAPDESK_SQLITE_PACKAGE_VERSION "12.11.1")  # carries SQLite 3.53.2
set(SNAPDESK_SQLITE_SHA256 "ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835")

if(DEFINED ENV{SNAPDESK_CACHE})
    set(sqlite_cache_root "$ENV{SNAPDESK_CACHE}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(sqlite_cache_root "$ENV{XDG_CACHE_HOME}/snapdesk")
elseif(DEFINED ENV{HOME})
    set(sqlite_cache_root "$ENV{HOME}/.cache/snapdesk")
else()
    set(sqlite_cache_root "${CMAKE_BINARY_DIR}/cache")
endif()
set(sqlite_tarball_name "${SNAPDESK_SQLITE_PACKAGE}-${SNAPDESK_SQLITE_PACKAGE_VERSION}.tgz")
set(sqlite_cache "${sqlite_cache_root}/${SNAPDESK_SQLITE_PACKAGE}-${SNAPDESK_SQLITE_SHA256}")
set(sqlite_tarball "${sqlite_cache}/${sqlite_tarball_name}")
set(sqlite_source "${CMAKE_BINARY_DIR}/third_party/sqlite")

function(snapdesk_sqlite_tarball_ok out)
    set(${out} FALSE PARENT_SCOPE)
    if(EXISTS "${sqlite_tarball}")
        file(SHA256 "${sqlite_tarball}" actual)
        if(actual STREQUAL SNAPDESK_SQLITE_SHA256)
            set(${out} TRUE PARENT_SCOPE)
        endif()
    endif()
endfunction()

file(MAKE_DIRECTORY "${sqlite_cache}")
# Presets of several checkouts may configure at once: one download at a time.
file(LOCK "${sqlite_cache}/.lock" GUARD FILE TIMEOUT 600)
snapdesk_sqlite_tarball_ok(sqlite_ok)
if(NOT sqlite_ok)
    find_program(SNAPDESK_NPM npm REQUIRED)
    set(download "${sqlite_cache}/download")
    file(REMOVE_RECURSE "${download}")
    file(MAKE_DIRECTORY "${download}")
    message(STATUS "Fetching ${SNAPDESK_SQLITE_PACKAGE}@${SNAPDESK_SQLITE_PACKAGE_VERSION} for SQLite")
    execute_process(
        COMMAND "${SNAPDESK_NPM}" pack "${SNAPDESK_SQLITE_PACKAGE}@${SNAPDESK_SQLITE_PACKAGE_VERSION}"
                --pack-destination "${download}" --silent
        WORKING_DIRECTORY "${download}"
        RESULT_VARIABLE npm_result OUTPUT_QUIET)
    if(NOT npm_result EQUAL 0 OR NOT EXISTS "${download}/${sqlite_tarball_name}")
        message(FATAL_ERROR "npm pack ${SNAPDESK_SQLITE_PACKAGE}@${SNAPDESK_SQLITE_PACKAGE_VERSION} "
                            "failed (${npm_result})")
    endif()
    file(RENAME "${download}/${sqlite_tarball_name}" "${sqlite_tarball}")
    file(REMOVE_RECURSE "${download}")
    snapdesk_sqlite_tarball_ok(sqlite_ok)
    if(NOT sqlite_ok)
        file(SHA256 "${sqlite_tarball}" actual)
        file(REMOVE "${sqlite_tarball}")
        message(FATAL_ERROR "${sqlite_tarball_name} has SHA-256 ${actual}, "
                            "expected ${SNAPDESK_SQLITE_SHA256}")
    endif()
endif()

# The two files, extracted again whenever the checked tarball is another one.
set(sqlite_stamp "${sqlite_source}/.sha256")
set(extracted "")
if(EXISTS "${sqlite_stamp}")
    file(READ "${sqlite_stamp}" extracted)
endif()
if(NOT extracted STREQUAL SNAPDESK_SQLITE_SHA256 OR NOT EXISTS "${sqlite_source}/sqlite3.c"
   OR NOT EXISTS "${sqlite_source}/sqlite3.h")
    file(REMOVE_RECURSE "${sqlite_source}")
    set(unpack "${CMAKE_BINARY_DIR}/third_party/sqlite-unpack")
    file(REMOVE_RECURSE "${unpack}")
    file(ARCHIVE_EXTRACT INPUT "${sqlite_tarball}" DESTINATION "${unpack}"
         PATTERNS package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h)
    file(MAKE_DIRECTORY "${sqlite_source}")
    foreach(name sqlite3.c sqlite3.h)
        file(RENAME "${unpack}/package/deps/sqlite3/${name}" "${sqlite_source}/${name}")
    endforeach()
    file(REMOVE_RECURSE "${unpack}")
    file(WRITE "${sqlite_stamp}" "${SNAPDESK_SQLITE_SHA256}")
endif()
file(LOCK "${sqlite_cache}/.lock" RELEASE)

# SQLite with its own flags: none of the project's warnings, no loadable extensions, no
# double-quoted strings taken for literals, SQLite's default threading.
add_library(snapdesk_sqlite STATIC "${sqlite_source}/sqlite3.c")
target_compile_definitions(snapdesk_sqlite PRIVATE SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0)
target_compile_options(snapdesk_sqlite PRIVATE -w)
target_include_directories(snapdesk_sqlite SYSTEM PUBLIC "${sqlite_source}")
if(NOT WIN32)
    find_package(Threads REQUIRED)
    target_link_libraries(snapdesk_sqlite PUBLIC Threads::Threads m)
endif()
