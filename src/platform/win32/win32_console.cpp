// The console of a Windows command-line program.
#include "platform/win32/win32_console.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace zav {
namespace {

HANDLE OpenConsoleInput() {
    return ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

} // namespace

std::vector<std::string> Utf8Arguments() {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; words != nullptr && i < count; ++i) {
        arguments.push_back(WideToUtf8(words[i]));
    }
    ::LocalFree(words);
    return arguments;
}

void UseUtf8Console() {
    ::SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool StandardErrorIsConsole() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

bool HasConsoleInput() {
    const HANDLE console = OpenConsoleInput();
    if (console == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(console);
    return true;
}

std::optional<std::string> ReadConsoleLine() {
    const HANDLE console = OpenConsoleInput();
    if (console == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::wstring line;
    bool ended = false;
    for (;;) {
        wchar_t unit = 0;
        DWORD got = 0;
        if (!::ReadConsoleW(console, &unit, 1, &got, nullptr) || got == 0) {
            break;
        }
        if (unit == L'\n') {
            ended = true;
            break;
        }
        if (unit != L'\r') {
            line += unit;
        }
    }
    ::CloseHandle(console);
    if (!ended && line.empty()) {
        return std::nullopt;
    }
    return WideToUtf8(line);
}

} // namespace zav
