#include "ui/object_timer_win32.h"

namespace {

UINT_PTR TimerIdOf(TimedObject& object) { return reinterpret_cast<UINT_PTR>(&object); }

void CALLBACK ObjectTimerProcedure(HWND window, UINT, UINT_PTR id, DWORD) {
    // Until the object asks again, this tick is the last: a timer must not fire into work
    // that is still running (a nested message loop inside the tick).
    KillTimer(window, id);
    TimedObject* object = reinterpret_cast<TimedObject*>(id);
    UINT next = object->OnObjectTimer(window);
    if (next != 0 && IsWindow(window)) SetTimer(window, id, next, &ObjectTimerProcedure);
}

}  // namespace

bool StartObjectTimer(HWND window, TimedObject& object, UINT delay) {
    if (window == nullptr) return false;
    return SetTimer(window, TimerIdOf(object), delay, &ObjectTimerProcedure) != 0;
}

void StopObjectTimer(HWND window, TimedObject& object) {
    if (window != nullptr) KillTimer(window, TimerIdOf(object));
}
