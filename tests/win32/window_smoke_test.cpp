// The native window as a user meets it, run under Wine: zav-patcher.exe opens on a game found
// through the Windows directory, in the compact layout of its dialog template, with the game's
// lists drawn; a track installed from the disc is recorded in the game's history and undone
// through the context menu; Enter closes it with exit status 0.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "history/history_store.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
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

// The visible top-level window of `process` of the window class `className` that `accept` takes.
HWND VisibleWindowOf(DWORD process, const wchar_t* className,
                     const std::function<bool(HWND)>& accept) {
    struct Wanted {
        DWORD process;
        const wchar_t* className;
        const std::function<bool(HWND)>& accept;
        HWND window = nullptr;
    } wanted{process, className, accept};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Wanted*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner == search.process && IsWindowVisible(window) &&
                std::wstring(name) == search.className && search.accept(window)) {
                search.window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&wanted));
    return wanted.window;
}

// Polls `done` until it holds, the child ends or `limit` passes.
bool WaitUntil(HANDLE child, const std::function<bool()>& done, std::chrono::seconds limit = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline &&
           WaitForSingleObject(child, 0) == WAIT_TIMEOUT) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

HWND WaitForWindow(HANDLE child, const std::function<HWND()>& found) {
    HWND window = nullptr;
    WaitUntil(child, [&] { return (window = found()) != nullptr; });
    return window;
}

// The message box the child shows over `main` (its text has the control id 0xFFFF), answered
// with `button`; its text, or nullopt when none came or it lacks the button.
std::optional<std::string> AnswerBox(const PROCESS_INFORMATION& child, HWND main, int button) {
    HWND box = WaitForWindow(child.hProcess, [&] {
        return VisibleWindowOf(child.dwProcessId, L"#32770", [&](HWND window) {
            return window != main && GetDlgItem(window, 0xFFFF) != nullptr;
        });
    });
    if (box == nullptr) {
        return std::nullopt;
    }
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    const std::string words = zav::WideToUtf8(text);
    HWND control = GetDlgItem(box, button);
    if (control == nullptr) {
        ADD_FAILURE() << "the box has no button " << button << ": " << words;
        return std::nullopt;
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    WaitUntil(child.hProcess, [&] { return IsWindowVisible(box) == FALSE; });
    return words;
}

// Presses the push button `id` as a click does, without moving the keyboard focus.
void Press(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Opens the window's context menu from the keyboard and chooses "Undo last change...". Windows
// lets another process read a popup menu's items (MN_GETHMENU), so there it is found by its
// text. Wine keeps a menu's items in the memory of the process that made it, where no other
// process reads them: there it is chosen by its place, the third (after "Open disc or pack..."
// and "About", the order the dialog gives its menu).
bool ChooseUndoFromContextMenu(const PROCESS_INFORMATION& child, HWND window) {
    PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
    HWND menu = WaitForWindow(child.hProcess, [&] {
        return VisibleWindowOf(child.dwProcessId, L"#32768", [](HWND) { return true; });
    });
    if (menu == nullptr) {
        ADD_FAILURE() << "no context menu appeared";
        return false;
    }
    int place = 2;
    if (!UnderWine()) {
        place = -1;
        auto* items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(items); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(items, i, text, 128, MF_BYPOSITION);
            if (std::wstring(text) == L"Undo last change...") {
                place = i;
            }
        }
        if (place < 0) {
            PostKey(menu, VK_ESCAPE);
            ADD_FAILURE() << "the context menu has no \"Undo last change...\"";
            return false;
        }
    }
    // Home selects the first entry whether or not one was selected already.
    PostKey(menu, VK_HOME);
    for (int i = 0; i < place; ++i) {
        PostKey(menu, VK_DOWN);
    }
    PostKey(menu, VK_RETURN);
    return true;
}

using Files = std::map<std::string, std::string>;

// The game's files and their bytes, without its history and the tool's temporaries and working
// copies (the run's own, gone when it closes).
Files GameFiles(const fs::path& game) {
    Files files;
    for (const auto& item : fs::recursive_directory_iterator(game)) {
        const std::string path = fs::relative(item.path(), game).generic_string();
        const std::string name = item.path().filename().string();
        if (item.is_regular_file() && !path.starts_with(std::string(zav::HISTORY_FOLDER_NAME)) &&
            !name.starts_with(zav::TEMPORARY_NAME_PREFIX) && item.path().extension() != ".sav") {
            std::ifstream in(item.path(), std::ios::binary);
            files[path].assign(std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>());
        }
    }
    return files;
}

std::string Differences(const Files& a, const Files& b) {
    std::string paths;
    for (const auto& [path, bytes] : a) {
        if (!b.contains(path) || b.at(path) != bytes) {
            paths += " " + path;
        }
    }
    for (const auto& [path, bytes] : b) {
        if (!a.contains(path)) {
            paths += " " + path;
        }
    }
    return paths;
}

std::wstring ListEntry(HWND window, int list, int index) {
    std::wstring text(
        static_cast<std::size_t>(SendDlgItemMessageW(window, list, LB_GETTEXTLEN, index, 0)) + 1,
        L'\0');
    text.resize(static_cast<std::size_t>(SendDlgItemMessageW(
        window, list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
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

TEST(NativeWindow, OpensOnTheGameRecordsAndUndoesAnInstallAndEnterClosesIt) {
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
    const fs::path gameFolder = sample / "prefix" / "drive_c" / "Games" / "ZAV";
    const GameSettings settings(gameFolder);
    const std::string circuits = "Data/Binary/Scripts/circuits.bin";
    const Files before = GameFiles(gameFolder);
    ASSERT_TRUE(before.contains(circuits));
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
    // A failed assertion leaves no window behind.
    const std::unique_ptr<PROCESS_INFORMATION, void (*)(PROCESS_INFORMATION*)> running(
        &child, [](PROCESS_INFORMATION* process) {
            TerminateProcess(process->hProcess, 99);
            CloseHandle(process->hThread);
            CloseHandle(process->hProcess);
        });

    // Shown by the start-up's change to the compact layout; the lists are filled right after.
    HWND window = nullptr;
    WaitUntil(child.hProcess, [&] {
        window = VisibleDialogOf(child.dwProcessId);
        return window != nullptr && SendDlgItemMessageW(window, 1000, LB_GETCOUNT, 0, 0) == 16;
    });
    ASSERT_NE(window, nullptr) << "no window of zav-patcher.exe appeared";
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, templateSize.cx);
    EXPECT_EQ(client.bottom, templateSize.cy - 25);
    EXPECT_EQ(SendDlgItemMessageW(window, 1000, LB_GETCOUNT, 0, 0), 16); // the base tracks
    EXPECT_EQ(SendDlgItemMessageW(window, 1001, LB_GETCOUNT, 0, 0), 4);  // the disc's tracks
    const LRESULT added = SendDlgItemMessageW(window, 1002, LB_GETCOUNT, 0, 0);

    // The disc's first track added to the list and installed ("Add to List", "Install New").
    const std::wstring track = ListEntry(window, 1001, 0);
    SendDlgItemMessageW(window, 1001, LB_SETSEL, TRUE, 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(1001, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, 1001)));
    Press(window, 5);
    EXPECT_TRUE(WaitUntil(child.hProcess, [&] {
        return SendDlgItemMessageW(window, 1002, LB_GETCOUNT, 0, 0) == added + 1;
    })) << "\"Add to List\" added nothing";
    Press(window, 4);
    const auto installed = AnswerBox(child, window, IDOK);
    EXPECT_EQ(installed.value_or("no box after \"Install New\""),
              "New data installed successfully.");
    const Files withTrack = GameFiles(gameFolder);
    EXPECT_NE(withTrack, before) << "the install changed nothing";
    EXPECT_NE(withTrack.at(circuits), before.at(circuits));

    // "Undo last change..." asks with what the change did, and says which change it undid.
    ASSERT_TRUE(ChooseUndoFromContextMenu(child, window));
    const auto question = AnswerBox(child, window, IDYES);
    EXPECT_TRUE(question && question->find(zav::WideToUtf8(track)) != std::string::npos)
        << question.value_or("no question after \"Undo last change...\"");
    const auto undone = AnswerBox(child, window, IDOK);
    EXPECT_EQ(undone.value_or("no box after the undo"), "Change 1 was undone.");
    EXPECT_TRUE(WaitUntil(child.hProcess, [&] {
        return SendDlgItemMessageW(window, 1002, LB_GETCOUNT, 0, 0) == added;
    })) << "the window still shows the undone track";

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
    EXPECT_TRUE(ended) << "Enter did not close the window";
    EXPECT_EQ(status, 0U);

    // The game as before the install, byte for byte; its history holds the change, undone.
    EXPECT_EQ(Differences(before, GameFiles(gameFolder)), "");
    zav::Win32FileSystem files;
    const auto history = zav::ReadHistory(files, gameFolder.string() + "\\");
    ASSERT_EQ(history.size(), 1U);
    EXPECT_TRUE(history[0].undone);
    EXPECT_EQ(history[0].damage, "");
    ASSERT_EQ(history[0].added.size(), 1U);
    EXPECT_TRUE(track.ends_with(zav::Utf8ToWide(history[0].added[0].name)));
    std::error_code ignored;
    fs::remove_all(sample, ignored);
    CloseDesktop(desktop);
}

} // namespace
