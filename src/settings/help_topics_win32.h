// Help for every window: the manual beside the running program.
#pragma once

#include <windows.h>

// Opens the manual beside the running program at a topic: command HELP_CONTENTS (data 0) or
// HELP_CONTEXT with the context number. Before Windows Vista "app.hlp" in WinHelpA with the
// command and data; from Vista on "manual.html" at the topic's anchor in the web browser; the
// per-user setting "HelpViewer" may choose either. A missing file is reported by name.
void ShowHelpTopic(HWND window, UINT command, ULONG_PTR data);
// The path of a file of the manual ("app.hlp", "manual.html") beside the running program.
void HelpFilePath(const char* fileName, char (&path)[MAX_PATH]);
