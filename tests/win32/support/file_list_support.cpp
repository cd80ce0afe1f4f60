#include "tests/win32/support/file_list_support.h"

#include <commctrl.h>

#include "res/resource.h"
#include "tests/win32/support/gui_support.h"

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_FILE_LIST); }

int RowCount(HWND dialog) {
    return static_cast<int>(SendMessageA(List(dialog), LVM_GETITEMCOUNT, 0, 0));
}

std::string CellText(HWND dialog, int row, int column) {
    char text[4096] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    auto length =
        SendMessageA(List(dialog), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return std::string(text, static_cast<std::size_t>(length));
}

std::wstring WideCellText(HWND dialog, int row, int column) {
    wchar_t text[4096] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 4096;
    auto length =
        SendMessageW(List(dialog), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return std::wstring(text, static_cast<std::size_t>(length));
}

std::vector<std::string> Column(HWND dialog, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < RowCount(dialog); row++) texts.push_back(CellText(dialog, row, column));
    return texts;
}

void Select(HWND dialog, const std::vector<int>& rows) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageA(List(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : rows) {
        SendMessageA(List(dialog), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
}

int RowOf(HWND dialog, const std::string& name) {
    std::vector<std::string> names = Column(dialog, 0);
    for (std::size_t i = 0; i < names.size(); i++) {
        if (names[i] == name) return static_cast<int>(i);
    }
    return -1;
}

std::vector<int> SelectedRows(HWND dialog) {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(List(dialog), LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(row), LVNI_SELECTED))) != -1) {
        rows.push_back(row);
    }
    return rows;
}

void SendKey(WORD key) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
    Sleep(30);
}

void PressCtrlA(HWND dialog) {
    SetForegroundWindow(dialog);
    INPUT input[4]{};
    const WORD keys[] = {VK_CONTROL, 'A', 'A', VK_CONTROL};
    for (int i = 0; i < 4; i++) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = keys[i];
        input[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, input, sizeof input[0]);
    // The keys reach the dialog through the display, in their own time.
    for (int waited = 0; waited < 5000; waited += 20) {
        if (SendMessageA(List(dialog), LVM_GETSELECTEDCOUNT, 0, 0) == RowCount(dialog)) break;
        Sleep(20);
    }
    Sleep(50);
    SendMessageA(dialog, WM_NULL, 0, 0);
}

void ClickHeader(HWND dialog, int column) {
    // Clicks in quick succession would make a double click, which does not sort.
    Sleep(GetDoubleClickTime() + 50);
    auto header = reinterpret_cast<HWND>(SendMessageA(List(dialog), LVM_GETHEADER, 0, 0));
    RECT rect{};
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(header, &at);
    SendMouse(0, at);
    SendMouse(MOUSEEVENTF_LEFTDOWN, at);
    SendMouse(MOUSEEVENTF_LEFTUP, at);
    // Let the dialog's thread take the click and sort.
    SendMessageA(dialog, WM_NULL, 0, 0);
    Sleep(100);
}

void NotifyColumnClick(HWND dialog, int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = List(dialog);
    click.hdr.idFrom = IDC_FILE_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(dialog, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
}

void RightClickRow(HWND dialog, int row) {
    SetForegroundWindow(dialog);
    RECT rect{};
    rect.left = LVIR_LABEL;
    SendMessageA(List(dialog), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    POINT at{rect.left + 10, (rect.top + rect.bottom) / 2};
    ClientToScreen(List(dialog), &at);
    SendMouse(0, at);
    SendMouse(MOUSEEVENTF_RIGHTDOWN, at);
    SendMouse(MOUSEEVENTF_RIGHTUP, at);
}

HWND WaitForPopupMenu() {
    for (int waited = 0; waited < 5000; waited += 20) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu)) return menu;
        Sleep(20);
    }
    return nullptr;
}

std::vector<std::function<void(HWND)>> UserClosers() {
    return {
        [](HWND dialog) { PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); },
        [](HWND dialog) {
            SetForegroundWindow(dialog);
            PostMessageA(List(dialog), WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
}
