// The wait dialog and the about box.
#include "side_dialogs.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "shell/window_model.h"
#include "zav_version.h"

namespace zav {
namespace {

// The about box's version line.
constexpr int IDC_ABOUT_VERSION = 1022;

INT_PTR CALLBACK WaitProcedure(HWND, UINT message, WPARAM, LPARAM) {
    // Nothing to answer: the dialog only shows its text until the start-up destroys it.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextW(dialog, IDC_ABOUT_VERSION,
                        (L"Vantrel version " + Cp1252ToWide(ZAV_VERSION)).c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

HWND OpenWaitDialog(HINSTANCE instance, std::string_view text) {
    HWND dialog =
        CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_WAIT), nullptr, WaitProcedure, 0);
    if (dialog == nullptr) {
        return nullptr;
    }
    SetDlgItemTextW(dialog, IDC_WAIT_TEXT, Cp1252ToWide(text).c_str());
    ShowWindow(dialog, SW_SHOW);
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return dialog;
}

void RunAboutBox(HINSTANCE instance, HWND owner) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProcedure, 0);
}

} // namespace zav
