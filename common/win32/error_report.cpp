#include "common/win32/error_report.h"

#include <new>

#include "common/messages.h"

namespace orbelin::win {

Error Win32Error(DWORD code, std::wstring_view context) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring description;
    if (length > 0 && buffer != nullptr) description.assign(buffer, length);
    ::LocalFree(buffer);
    while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r' ||
                                    description.back() == L' ' || description.back() == L'.')) {
        description.pop_back();
    }
    if (!context.empty()) {
        if (!description.empty()) description += L" : ";
        description += context;
    }
    return Error(code, std::move(description));
}

Error LastError(std::wstring_view context) { return Win32Error(::GetLastError(), context); }

std::wstring ReportText(const Error& error) {
    return messages::kErrorReportNumber + std::to_wstring(error.Number()) +
           messages::kErrorReportAfterNumber + error.Description();
}

void ReportCurrentException(HWND owner, std::wstring_view title) noexcept {
    const std::wstring titleText(title);
    try {
        try {
            throw;
        } catch (const Error& error) {
            const auto text = ReportText(error);
            ::MessageBoxW(owner, text.c_str(), titleText.c_str(), MB_OK | MB_ICONERROR);
        } catch (const std::bad_alloc&) {
            ::MessageBoxW(owner, messages::kOutOfMemory, titleText.c_str(), MB_OK | MB_ICONERROR);
        } catch (...) {
            ::MessageBoxW(owner, messages::kUnexpectedError, titleText.c_str(), MB_OK | MB_ICONERROR);
        }
    } catch (...) {
        // Building the text failed (no memory left): nothing more can be shown.
    }
}

}  // namespace orbelin::win
