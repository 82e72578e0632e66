#include "installer/wide_string.h"

#include "installer/secure_wipe.h"

PlatformString<WideString> ToWide(const std::string& narrow)
{
    PlatformString<WideString> wide;
    // Source length -1: the whole string with its terminator, so the count
    // includes the terminator and the converted text ends in one.
    const int needed = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, nullptr, 0);
    if (needed <= 0) {
        wide.error = FailureCode(GetLastError());
        return wide;
    }
    wide.text.assign(static_cast<std::size_t>(needed), WCHAR{});
    const int written = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, wide.text.data(), needed);
    if (written != needed) {
        wide.error = FailureCode(GetLastError());
        SecureWipe(wide.text);
        wide.text.clear();
        return wide;
    }
    wide.text.pop_back();  // the string keeps its own terminator
    return wide;
}
