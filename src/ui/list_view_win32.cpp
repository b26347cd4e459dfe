#include "ui/list_view_win32.h"

#include <commctrl.h>

namespace {

constexpr UINT kEmptyBoxImage = 1;
constexpr UINT kTickedBoxImage = 2;

}  // namespace

void SetListViewItemState(HWND list, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SelectOnlyListViewItem(HWND list, int row) {
    constexpr UINT kSelectedAndFocused = LVIS_SELECTED | LVIS_FOCUSED;
    SetListViewItemState(list, -1, 0, kSelectedAndFocused);
    SetListViewItemState(list, row, kSelectedAndFocused, kSelectedAndFocused);
}

void SetListViewItemChecked(HWND list, int row, bool checked) {
    SetListViewItemState(list, row,
                         INDEXTOSTATEIMAGEMASK(checked ? kTickedBoxImage : kEmptyBoxImage),
                         LVIS_STATEIMAGEMASK);
}

bool ListViewItemChecked(HWND list, int row) {
    const auto state = static_cast<UINT>(
        SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == kTickedBoxImage;
}
