// Rows of a list view: their state and their check boxes (the list's state images 1, an empty
// box, and 2, a ticked one).
#pragma once

#include <windows.h>

// Sets the state bits of `mask` on the row (-1: every row).
void SetListViewItemState(HWND list, int row, UINT state, UINT mask);
// Selects and focuses the row alone.
void SelectOnlyListViewItem(HWND list, int row);
void SetListViewItemChecked(HWND list, int row, bool checked);
// Whether the row's box is ticked.
bool ListViewItemChecked(HWND list, int row);
