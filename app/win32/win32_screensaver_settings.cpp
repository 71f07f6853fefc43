#include "app/win32/win32_screensaver_settings.h"

#include "app/win32/resource_ids.h"

namespace screensaver_settings {
namespace {

const char* const keyName = "Software\\vokdemo\\Screensaver";
const char* const soundValue = "Sound";

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CheckDlgButton(dialog, IDC_SCREENSAVER_SOUND, soundOn() ? BST_CHECKED : BST_UNCHECKED);
            SetForegroundWindow(dialog);  // opened from another program's window, it takes the keys
            return TRUE;  // the focus on the check box
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) setSoundOn(IsDlgButtonChecked(dialog, IDC_SCREENSAVER_SOUND) == BST_CHECKED);
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

bool soundOn() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return true;
    DWORD value = 1, type = 0, size = sizeof value;
    const LONG read = RegQueryValueExA(key, soundValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return read != ERROR_SUCCESS || type != REG_DWORD || value != 0;
}

void setSoundOn(bool on) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const DWORD value = on ? 1 : 0;
    RegSetValueExA(key, soundValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void showDialog(HINSTANCE instance, HWND owner) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SCREENSAVER_SETTINGS), owner, dialogProc, 0);
}

}  // namespace screensaver_settings
