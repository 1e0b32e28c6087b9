// PatcherWindow: the controls of dialog template 102 and their wiring to PatcherDialog.
#include "patcher_window.h"

#include <algorithm>
#include <vector>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "accessible_descriptions.h"
#include "platform/mounted_media.h"
#include "platform/win32/wide_text.h"
#include "shell/patcher_dialog.h"
#include "shell/window_model.h"
#include "side_dialogs.h"
#include "source_defaults.h"

namespace zav {
namespace {

// The tab's text is read into a buffer of 20 characters with its terminator.
constexpr int kTabTextCapacity = 20;

// Posted by the start-up to itself: the modal loop runs when it arrives.
constexpr UINT WM_STARTED = WM_APP + 1;

// The context menu's one command; the system menu's About entry has the same meaning.
// The context menu's entries are numbered from here, in the dialog's order (0 is "none chosen").
constexpr UINT ID_CONTEXT_FIRST = 1;

} // namespace

PatcherWindow::PatcherWindow(HINSTANCE instance) : instance_(instance) {}

std::wstring PatcherWindow::Own(OwnTextId id) const {
    return Cp1252ToWide(OwnText(id, languageOffset_));
}

PatcherWindow::~PatcherWindow() {
    if (waitDialog_ != nullptr) {
        DestroyWindow(waitDialog_);
    }
    for (const auto& [id, bitmap] : bitmaps_) {
        DeleteObject(bitmap);
    }
    for (HICON icon : {largeIcon_, smallIcon_}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

INT_PTR PatcherWindow::Run() {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                 ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                                     ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    descriptions_ = std::make_unique<AccessibleDescriptions>();
    const INT_PTR result = DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                           DialogProcedure, reinterpret_cast<LPARAM>(this));
    descriptions_.reset();
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return result;
}

INT_PTR CALLBACK PatcherWindow::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<PatcherWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
        return self->OnInitialise();
    }
    auto* self = reinterpret_cast<PatcherWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

BOOL PatcherWindow::OnInitialise() {
    // The about box is reached from the system menu (Alt+Space), as well as from the context
    // menu (Shift+F10, the Menu key, the right button) and F1.
    if (HMENU system = GetSystemMenu(window_, FALSE)) {
        AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(system, MF_STRING, SC_ABOUT, Own(OwnTextId::AboutMenuItem).c_str());
    }
    AddButtonTips();
    DragAcceptFiles(window_, TRUE);
    if (dialog_ != nullptr && !dialog_->OnInitDialog()) {
        ::EndDialog(window_, -1);
    } else {
        PostMessageW(window_, WM_STARTED, 0, 0);
    }
    // The first control in the tab order takes the focus; Enter there presses "Close".
    return TRUE;
}

// Screen readers name a picture button by its window text, and a tooltip shows the same words
// to the eye: the words on its picture in the game's language, not the template's English
// command names.
void PatcherWindow::AddButtonTips() {
    tips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                            instance_, nullptr);
    for (const ButtonPictures& pictures : kButtonPictures) {
        HWND button = Control(pictures.button);
        if (button == nullptr) {
            continue;
        }
        std::wstring words = Own(pictures.words);
        SetWindowTextW(button, words.c_str());
        if (tips_ == nullptr) {
            continue;
        }
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = words.data();
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

INT_PTR PatcherWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_TAB && header->code == TCN_SELCHANGE && dialog_ != nullptr) {
            dialog_->OnSelchangeTab();
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_ABOUT && dialog_ != nullptr) {
            dialog_->OnSysCommand(static_cast<std::uint32_t>(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return TRUE;
    case WM_HELP:
        // F1: what the commands do and where the game and the new data are; About stays in the
        // menus.
        if (dialog_ != nullptr) {
            dialog_->OnHelp();
        }
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(wParam);
        return TRUE;
    case WM_CLOSE:
        // Without this the dialog manager would turn the close box into "Cancel". A close asked
        // for while a command runs (from the task bar, say) waits until the command ends, so it
        // never cuts the command off half done.
        if (dialog_ != nullptr && dialog_->RequestClose()) {
            dialog_->OnClose();
        }
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window_, &paint);
        EndPaint(window_, &paint);
        if (dialog_ != nullptr) {
            dialog_->OnPaint(IsIconic(window_) != FALSE);
        }
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        // The labels of the lists lie on the tab control's pane, which a theme may paint in
        // another colour than the dialog: they show the pane through.
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == IDC_PRESENT_LABEL || id == IDC_NEW_LABEL || id == IDC_ADDED_LABEL) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        return FALSE;
    }
    case WM_STARTED:
        if (started_) {
            started_();
        }
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(largeIcon_);
    default:
        return FALSE;
    }
}

void PatcherWindow::OnCommand(int id, int code) {
    if (dialog_ == nullptr) {
        return;
    }
    switch (id) {
    case IDC_NEW_LIST:
        if (code == LBN_SELCHANGE) {
            dialog_->OnSelchangeNewList();
        }
        return;
    case IDC_ADDED_LIST:
        if (code == LBN_SELCHANGE) {
            dialog_->OnSelchangeAddedList();
        }
        return;
    default:
        // Enter comes as a click of the default button (1, or the focused push button), Escape
        // as a click of button 2.
        if (code == BN_CLICKED) {
            OnButton(id);
        }
        return;
    }
}

void PatcherWindow::OnContextMenu(LPARAM where) {
    POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (where == -1) {
        // From the keyboard: beside the control that has the focus.
        RECT place{};
        HWND focus = GetFocus();
        GetWindowRect(focus != nullptr && IsChild(window_, focus) ? focus : window_, &place);
        point = {place.left + 8, place.top + 8};
    }
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    const std::vector<PatcherDialog::MenuEntry> entries =
        dialog_ != nullptr ? dialog_->MenuEntries() : std::vector<PatcherDialog::MenuEntry>();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        AppendMenuW(menu, MF_STRING | (entries[i].enabled ? MF_ENABLED : MF_GRAYED),
                    ID_CONTEXT_FIRST + i, Own(entries[i].words).c_str());
    }
    const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       point.x, point.y, 0, window_, nullptr);
    DestroyMenu(menu);
    const auto index = static_cast<std::size_t>(chosen) - ID_CONTEXT_FIRST;
    if (chosen >= static_cast<BOOL>(ID_CONTEXT_FIRST) && index < entries.size() &&
        dialog_->OnMenuCommand(entries[index].command)) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
}

void PatcherWindow::OnDropFiles(WPARAM dropped) {
    auto* drop = reinterpret_cast<HDROP>(dropped);
    std::wstring path;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    DragFinish(drop);
    if (dialog_ != nullptr && !path.empty() && dialog_->ChangeSource(WideToUtf8(path))) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
}

std::string PatcherWindow::ChooseSource(std::string_view caption) {
    // A player who opens new data most often means a disc: the CD drives that hold new data come
    // first, each with its volume name, then any other folder in the folder dialog.
    const std::vector<std::string> drives = MediaHoldingNewData(MountedMedia());
    if (drives.empty()) {
        return BrowseForFolder(caption);
    }
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return BrowseForFolder(caption);
    }
    for (std::size_t i = 0; i < drives.size(); ++i) {
        std::wstring label = Utf8ToWide(drives[i]);
        wchar_t volume[MAX_PATH + 1] = {};
        if (GetVolumeInformationW(label.c_str(), volume, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                  nullptr, 0) != FALSE &&
            volume[0] != L'\0') {
            label += L"  ";
            label += volume;
        }
        AppendMenuW(menu, MF_STRING, ID_CONTEXT_FIRST + i, label.c_str());
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    const UINT otherFolder = ID_CONTEXT_FIRST + static_cast<UINT>(drives.size());
    AppendMenuW(menu, MF_STRING, otherFolder, Own(OwnTextId::OtherFolderMenuItem).c_str());
    // At the pointer when it is over the window (a menu's entry was clicked), else at the
    // window's corner (Ctrl+O).
    RECT place{};
    GetWindowRect(window_, &place);
    POINT point{};
    if (GetCursorPos(&point) == FALSE || PtInRect(&place, point) == FALSE) {
        point = {place.left + 8, place.top + 8};
    }
    SetMenuDefaultItem(menu, ID_CONTEXT_FIRST, FALSE);
    const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       point.x, point.y, 0, window_, nullptr);
    DestroyMenu(menu);
    if (chosen == static_cast<BOOL>(otherFolder)) {
        return BrowseForFolder(caption);
    }
    const auto index = static_cast<std::size_t>(chosen) - ID_CONTEXT_FIRST;
    return chosen >= static_cast<BOOL>(ID_CONTEXT_FIRST) && index < drives.size() ? drives[index]
                                                                                  : std::string();
}

std::string PatcherWindow::BrowseForFolder(std::string_view caption) {
    // This build reads folders only (a pack is extracted in Explorer first): a folder dialog.
    const std::wstring title = Cp1252ToWide(caption);
    BROWSEINFOW browse{};
    browse.hwndOwner = window_;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) {
        return {};
    }
    std::wstring path(MAX_PATH, L'\0');
    const bool named = SHGetPathFromIDListW(chosen, path.data()) != FALSE;
    CoTaskMemFree(chosen);
    if (!named) {
        return {};
    }
    path.resize(path.find(L'\0'));
    return WideToUtf8(path);
}

void PatcherWindow::ShowHelp(std::string_view text, std::string_view caption) {
    MessageBox(text, caption, MB_OK | MB_ICONINFORMATION);
}

void PatcherWindow::OnButton(std::int32_t id) {
    if (const auto command = PatcherDialog::ButtonCommand(id)) {
        RunHandler(command);
    }
}

void PatcherWindow::RunHandler(PatcherDialog::Command handler) {
    if (dialog_ != nullptr && dialog_->RunCommand(handler)) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
}

HWND PatcherWindow::Control(std::int32_t id) const {
    return window_ != nullptr ? GetDlgItem(window_, id) : nullptr;
}

HBITMAP PatcherWindow::Bitmap(int id) {
    const auto found = bitmaps_.find(id);
    if (found != bitmaps_.end()) {
        return found->second;
    }
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (bitmap != nullptr) {
        bitmaps_[id] = bitmap;
    }
    return bitmap;
}

void PatcherWindow::ResetList(std::int32_t list) {
    SendDlgItemMessageW(window_, list, LB_RESETCONTENT, 0, 0);
}

void PatcherWindow::AddListEntry(std::int32_t list, std::string_view text) {
    const std::wstring wide = Cp1252ToWide(text);
    SendDlgItemMessageW(window_, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::int32_t PatcherWindow::ListCount(std::int32_t list) {
    const LRESULT count = SendDlgItemMessageW(window_, list, LB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<std::int32_t>(count) : 0;
}

std::string PatcherWindow::ListEntry(std::int32_t list, std::int32_t index) {
    const LRESULT length = SendDlgItemMessageW(window_, list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) {
        return {};
    }
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    SendDlgItemMessageW(window_, list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return WideToCp1252(text.data()).value_or("?");
}

bool PatcherWindow::IsListEntrySelected(std::int32_t list, std::int32_t index) {
    return SendDlgItemMessageW(window_, list, LB_GETSEL, index, 0) > 0;
}

void PatcherWindow::SetListEntrySelected(std::int32_t list, std::int32_t index, bool selected) {
    // A selection the program makes sends no notification.
    SendDlgItemMessageW(window_, list, LB_SETSEL, selected ? TRUE : FALSE, index);
}

void PatcherWindow::SetListSelection(std::int32_t list, std::int32_t index) {
    SendDlgItemMessageW(window_, list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::int32_t PatcherWindow::ListCaret(std::int32_t list) {
    if (ListCount(list) == 0) {
        return -1;
    }
    return static_cast<std::int32_t>(SendDlgItemMessageW(window_, list, LB_GETCARETINDEX, 0, 0));
}

void PatcherWindow::RemoveAllTabs() {
    SendDlgItemMessageW(window_, IDC_TAB, TCM_DELETEALLITEMS, 0, 0);
}

void PatcherWindow::InsertTab(std::int32_t index, std::string_view text) {
    std::wstring wide = Cp1252ToWide(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    SendDlgItemMessageW(window_, IDC_TAB, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&item));
}

std::string PatcherWindow::CurrentTabText() {
    const LRESULT current = SendDlgItemMessageW(window_, IDC_TAB, TCM_GETCURSEL, 0, 0);
    if (current < 0) {
        return {};
    }
    wchar_t text[kTabTextCapacity] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = kTabTextCapacity;
    if (SendDlgItemMessageW(window_, IDC_TAB, TCM_GETITEMW, static_cast<WPARAM>(current),
                            reinterpret_cast<LPARAM>(&item)) == FALSE) {
        return {};
    }
    text[kTabTextCapacity - 1] = L'\0';
    return WideToCp1252(item.pszText).value_or("?");
}

bool PatcherWindow::SetControlText(std::int32_t control, std::string_view text) {
    HWND child = Control(control);
    if (child == nullptr) {
        return false;
    }
    SetWindowTextW(child, Cp1252ToWide(text).c_str());
    return true;
}

void PatcherWindow::SetWindowTitle(std::string_view title) {
    SetWindowTextW(window_, Cp1252ToWide(title).c_str());
}

void PatcherWindow::SetButtonPicture(std::int32_t button, int bitmap) {
    HWND child = Control(button);
    if (child == nullptr) {
        return;
    }
    SendMessageW(child, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(Bitmap(bitmap)));
    // The picture shows whether the command can act; a screen reader says it in words.
    for (const ButtonPictures& pictures : kButtonPictures) {
        if (pictures.button == button && descriptions_ != nullptr) {
            descriptions_->Set(child,
                               Own(bitmap == pictures.inactive ? OwnTextId::CommandUnavailable
                                                               : OwnTextId::CommandAvailable));
        }
    }
}

void PatcherWindow::EnableControl(std::int32_t control, bool enabled) {
    if (HWND child = Control(control)) {
        EnableWindow(child, enabled ? TRUE : FALSE);
    }
}

void PatcherWindow::SetIcon(int icon) {
    if (largeIcon_ == nullptr) {
        largeIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXICON),
                                                   GetSystemMetrics(SM_CYICON), 0));
        smallIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

WindowHandle PatcherWindow::Handle() {
    return reinterpret_cast<WindowHandle>(window_);
}

WindowRect PatcherWindow::WindowRectangle() {
    RECT place{};
    GetWindowRect(window_, &place);
    return {place.left, place.top, place.right, place.bottom};
}

void PatcherWindow::ResizeWindow(std::int32_t width, std::int32_t height) {
    SetWindowPos(window_, nullptr, 0, 0, std::max(1, width), std::max(1, height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void PatcherWindow::SetProgressRange(std::int32_t lower, std::int32_t upper) {
    SendDlgItemMessageW(window_, IDC_PROGRESS, PBM_SETRANGE32, static_cast<WPARAM>(lower),
                        static_cast<LPARAM>(upper));
}

void PatcherWindow::SetProgressStep(std::int32_t step) {
    SendDlgItemMessageW(window_, IDC_PROGRESS, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void PatcherWindow::SetProgressPosition(std::int32_t position) {
    SendDlgItemMessageW(window_, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void PatcherWindow::StepProgress() {
    SendDlgItemMessageW(window_, IDC_PROGRESS, PBM_STEPIT, 0, 0);
}

int PatcherWindow::MessageBox(std::string_view text, std::string_view caption,
                              std::uint32_t style) {
    // Before the start-up shows the window, a box owned by it would be hidden with it.
    HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
    return MessageBoxW(owner, Cp1252ToWide(text).c_str(), Cp1252ToWide(caption).c_str(),
                       style | (owner == nullptr ? MB_SETFOREGROUND : 0U));
}

void PatcherWindow::DrawPendingChanges() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
        DispatchMessageW(&message);
    }
}

void PatcherWindow::Pause(int milliseconds) {
    // The command goes on inside its click handler: the window is painted, but the user's input
    // waits in the queue until the command ends.
    DrawPendingChanges();
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(0, milliseconds));
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_PAINT);
        DrawPendingChanges();
    }
}

void PatcherWindow::ShowWaitDialog(std::string_view text) {
    CloseWaitDialog();
    waitDialog_ = OpenWaitDialog(instance_, text);
}

void PatcherWindow::CloseWaitDialog() {
    if (waitDialog_ != nullptr) {
        DestroyWindow(waitDialog_);
        waitDialog_ = nullptr;
    }
}

void PatcherWindow::ShowAboutBox() {
    RunAboutBox(instance_, window_);
}

void PatcherWindow::DrawIconCentred() {
    HDC device = GetDC(window_);
    if (device == nullptr) {
        return;
    }
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(device), 0);
    RECT client{};
    GetClientRect(window_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(device, x, y, largeIcon_);
    ReleaseDC(window_, device);
}

void PatcherWindow::EndDialog(int result) {
    ::EndDialog(window_, result);
}

void PatcherWindow::ExitProcess(int exitCode) {
    ::ExitProcess(static_cast<UINT>(exitCode));
}

void PatcherWindow::DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) {
    // A device-independent bitmap of 24 bits, top row first: blue, green, red, and each row
    // padded to four bytes.
    const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> pixels(stride * static_cast<std::size_t>(image.height), 0);
    for (std::int32_t row = 0; row < image.height; ++row) {
        const std::uint8_t* from = image.rgb.data() + static_cast<std::size_t>(row) *
                                                          static_cast<std::size_t>(image.width) * 3;
        std::uint8_t* to = pixels.data() + static_cast<std::size_t>(row) * stride;
        for (std::int32_t column = 0; column < image.width; ++column, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
    HDC device = GetDC(window_);
    if (device == nullptr) {
        return;
    }
    SetDIBitsToDevice(device, x, y, static_cast<DWORD>(image.width),
                      static_cast<DWORD>(image.height), 0, 0, 0, static_cast<UINT>(image.height),
                      pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(window_, device);
}

} // namespace zav
