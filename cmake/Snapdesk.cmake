# Build settings shared by every target of the project.

# Tests can run when the binaries are native or when an emulator (Wine) is configured.
if(NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR)
    set(SNAPDESK_CAN_RUN_TESTS ON)
else()
    set(SNAPDESK_CAN_RUN_TESTS OFF)
endif()

option(SNAPDESK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(SNAPDESK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
    # One self-contained binary per deliverable: no MinGW runtime DLLs beside it.
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Warnings are errors in the project's own code (not in third-party sources).
function(snapdesk_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual -Werror)
endfunction()

# Registers the GoogleTest cases of an executable under a ctest label.
function(snapdesk_add_gtest target label)
    snapdesk_warnings(${target})
    target_link_libraries(${target} PRIVATE GTest::gmock GTest::gtest_main)
    if(SNAPDESK_CAN_RUN_TESTS)
        gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                             PROPERTIES LABELS ${label} ${ARGN})
    endif()
endfunction()
