// The native window as a user meets it, run under Wine: zav-patcher.exe opens on a game found
// through the Windows directory, in the compact layout of its dialog template, with the game's
// lists drawn; Enter closes it with exit status 0.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/wide_text.h"
#include "tools/sample_game.h"

#include "platform/win32/windows_api.h"

#include <commctrl.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The settings file of the Windows directory names the sample's game folder while the test runs;
// what was there before comes back after.
class GameSettings {
public:
    explicit GameSettings(const fs::path& gameFolder) {
        wchar_t windows[MAX_PATH] = {};
        GetWindowsDirectoryW(windows, MAX_PATH);
        file_ = fs::path(windows) / L"Quorvex" / L"Qvx.ini";
        madeFolder_ = fs::create_directories(file_.parent_path());
        std::ifstream old(file_, std::ios::binary);
        if (old) {
            old_.emplace(std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>());
        }
        std::ofstream(file_, std::ios::binary | std::ios::trunc)
            << "[ZAV2_0]\r\nDirectory=" << gameFolder.string() << "\\\r\nLanguage=English\r\n";
    }
    ~GameSettings() {
        std::error_code ignored;
        if (old_) {
            std::ofstream(file_, std::ios::binary | std::ios::trunc) << *old_;
        } else {
            fs::remove(file_, ignored);
        }
        if (madeFolder_) {
            fs::remove(file_.parent_path(), ignored);
        }
    }

private:
    fs::path file_;
    std::optional<std::string> old_;
    bool madeFolder_ = false;
};

struct Search {
    DWORD process;
    HWND window;
};

HWND VisibleDialogOf(DWORD process) {
    Search search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& wanted = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (owner == wanted.process && IsWindowVisible(window) &&
                std::wstring(title) == L"ZAV Data Patcher") {
                wanted.window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.window;
}

INT_PTR CALLBACK Inert(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The client size of dialog template 102 as the system lays it out from the program's own
// resources, in this font and at this resolution.
SIZE TemplateClientSize(const std::wstring& program) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    HMODULE resources = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HWND dialog = CreateDialogParamW(resources, MAKEINTRESOURCEW(102), nullptr, Inert, 0);
    if (dialog == nullptr) {
        ADD_FAILURE() << "template 102 of " << fs::path(program).string()
                      << " cannot be laid out (module " << (resources != nullptr) << ", error "
                      << GetLastError() << ")";
    }
    RECT client{};
    GetClientRect(dialog, &client);
    DestroyWindow(dialog);
    FreeLibrary(resources);
    return {client.right, client.bottom};
}

std::wstring ProgramBeside(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (fs::path(self).parent_path() / name).wstring();
}

TEST(NativeWindow, OpensOnTheGameInTheCompactLayoutAndEnterClosesIt) {
    // A desktop of its own: Wine gives a desktop the display its first window finds, and the
    // default one may have been opened by a console test without any.
    std::wstring desktopName = L"zav-window-test-" + std::to_wstring(GetCurrentProcessId());
    HDESK desktop = CreateDesktopW(desktopName.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(desktop, nullptr);
    ASSERT_TRUE(SetThreadDesktop(desktop));
    const std::wstring program = ProgramBeside(L"zav-patcher.exe");
    const fs::path sample =
        fs::temp_directory_path() / ("zav-window-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(sample);
    std::string error;
    ASSERT_TRUE(zav::WriteSampleGame({.outputFolder = sample.string(), .dataSize = 24}, error))
        << error;
    const GameSettings settings(sample / "prefix" / "drive_c" / "Games" / "ZAV");
    const SIZE templateSize = TemplateClientSize(program);
    ASSERT_GT(templateSize.cy, 25);

    std::wstring command =
        L"\"" + program + L"\" --source \"" + (sample / "disc").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.lpDesktop = desktopName.data();
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &child));

    // Shown by the start-up's change to the compact layout; the lists are filled right after.
    HWND window = nullptr;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline &&
           WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
        window = VisibleDialogOf(child.dwProcessId);
        if (window != nullptr && SendDlgItemMessageW(window, 1000, LB_GETCOUNT, 0, 0) == 16) {
            break;
        }
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_NE(window, nullptr) << "no window of zav-patcher.exe appeared";
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, templateSize.cx);
    EXPECT_EQ(client.bottom, templateSize.cy - 25);
    EXPECT_EQ(SendDlgItemMessageW(window, 1000, LB_GETCOUNT, 0, 0), 16); // the base tracks
    EXPECT_EQ(SendDlgItemMessageW(window, 1001, LB_GETCOUNT, 0, 0), 4);  // the disc's tracks

    // Enter where the keyboard focus is (the dialog itself when no control has it).
    GUITHREADINFO focus{};
    focus.cbSize = sizeof(focus);
    GetGUIThreadInfo(child.dwThreadId, &focus);
    HWND target = focus.hwndFocus != nullptr ? focus.hwndFocus : window;
    PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(target, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001));
    const bool ended = WaitForSingleObject(child.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(child.hProcess, 99);
    }
    DWORD status = 99;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_TRUE(ended) << "Enter did not close the window";
    EXPECT_EQ(status, 0U);
    std::error_code ignored;
    fs::remove_all(sample, ignored);
    CloseDesktop(desktop);
}

} // namespace
