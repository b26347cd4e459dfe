// The start-up splash: the picture panel on its own, over the main window.
#pragma once

#include <windows.h>

#include "app/picture_panel_win32.h"

constexpr UINT_PTR kSplashTimerId = 1;
constexpr UINT kSplashMilliseconds = 7000;

// Opens the splash over owner: centred, closed after 7 s, by a click or with its owner.
void ShowSplash(PicturePanel& panel, HWND owner);
