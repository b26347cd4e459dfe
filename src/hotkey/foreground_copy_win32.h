// The simulated copy behind the hot key: makes the foreground application copy its selection
// (after selecting everything, when asked) by posting it Ctrl+A and Ctrl+C.
#pragma once

#include <windows.h>

// Posts the keys to the focus window of the foreground application and gives it 250 ms to
// copy. Posts nothing, and returns false, when the foreground window belongs to ownWindow's
// thread, when the application does not answer within 100 ms, or when its input cannot be
// attached. The keyboard state is as it was afterwards.
bool CopyForegroundSelection(HWND ownWindow, bool selectAllFirst);
