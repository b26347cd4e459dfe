// How a window finds the object behind it. The object's address sits in one long slot of the
// window (Slot) and the object keeps the window's handle (the member Handle). The object is
// trusted only while that handle still names the window, and both let go of each other when
// the window is destroyed: messages that come later (children's notifications, WM_NCDESTROY)
// never reach an object that may be gone soon after.
#pragma once

#include <windows.h>

template <class Object, HWND Object::*Handle, int Slot>
struct WindowBinding {
    // The slot takes the object (may be null), the object the window.
    static void Bind(HWND window, Object* object) {
        SetWindowLongPtrA(window, Slot, reinterpret_cast<LONG_PTR>(object));
        if (object != nullptr) object->*Handle = window;
    }
    // The bound object while it still holds this window; null otherwise.
    static Object* Find(HWND window) {
        auto* object = reinterpret_cast<Object*>(GetWindowLongPtrA(window, Slot));
        return object != nullptr && object->*Handle == window ? object : nullptr;
    }
    // Once the window is going: the object forgets it and the slot is emptied.
    static void Release(HWND window) {
        if (Object* object = Find(window)) object->*Handle = nullptr;
        SetWindowLongPtrA(window, Slot, 0);
    }
};
