// Repeating timers that belong to objects rather than to windows. The timer is set on a
// window with the object's address as its identifier; the timer procedure turns the
// identifier back into the object, lets it do its work and sets the same timer again with the
// delay the object asks for. The object must stay alive while its timer is set (the window's
// destruction ends the timer).
#pragma once

#include <windows.h>

class TimedObject {
  public:
    virtual ~TimedObject() = default;

    // One tick on the window the timer was set on. Returns the delay until the next tick in
    // milliseconds, or 0 to stop.
    virtual UINT OnObjectTimer(HWND window) = 0;
};

// Sets (or resets) object's timer on window: the first tick after delay milliseconds.
bool StartObjectTimer(HWND window, TimedObject& object, UINT delay);
// Removes object's timer from window if it is set.
void StopObjectTimer(HWND window, TimedObject& object);
