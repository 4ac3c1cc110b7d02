#pragma once

#include <stdexcept>
#include <string>

namespace snapdesk {

// A failing operation throws this; the nearest procedure with an error trap catches it,
// reports it in a message box and returns its neutral result.
struct RuntimeError : std::runtime_error {
    RuntimeError(int errorNumber, std::string errorDescription, std::string errorSource)
        : std::runtime_error(errorDescription),
          number(errorNumber),
          description(std::move(errorDescription)),
          source(std::move(errorSource)) {}

    int number;
    std::string description;
    std::string source;
};

// Error numbers the program raises itself.
namespace errors {
inline constexpr int kOverflow = 6;
inline constexpr int kFileNotFound = 53;
inline constexpr int kEntryPointNotFound = 453;
}  // namespace errors

}  // namespace snapdesk
