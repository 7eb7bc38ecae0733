#pragma once
// Errors carry a number and a description, like the platform's own error reports.
// Inside the programs they travel as exceptions; every boundary the system calls into
// (window procedures, wWinMain) catches them and shows the report. See README, "Errors".

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace orbelin {

// Numbers shared with the platform (Win32 error codes) and one of our own.
inline constexpr std::uint32_t kErrorFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kErrorAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kErrorTypeMismatch = 13;  // a value of the wrong kind
inline constexpr std::uint32_t kErrorInvalidData = 13;   // ERROR_INVALID_DATA: malformed input
inline constexpr std::uint32_t kErrorBadPathName = 161;  // ERROR_BAD_PATHNAME
inline constexpr std::uint32_t kErrorDirNotEmpty = 145;  // ERROR_DIR_NOT_EMPTY
inline constexpr std::uint32_t kErrorBusy = 170;         // ERROR_BUSY

class Error : public std::exception {
  public:
    Error(std::uint32_t number, std::wstring description)
        : number_(number), description_(std::move(description)) {}

    [[nodiscard]] std::uint32_t Number() const noexcept { return number_; }
    [[nodiscard]] const std::wstring& Description() const noexcept { return description_; }
    [[nodiscard]] const char* what() const noexcept override { return "orbelin::Error"; }

  private:
    std::uint32_t number_;
    std::wstring description_;
};

}  // namespace orbelin
