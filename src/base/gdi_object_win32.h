// A GDI object (font, brush, pen, bitmap) deleted when its holder goes.
#pragma once

#include <windows.h>

template <typename Handle>
class GdiObject {
  public:
    explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~GdiObject() { Reset(nullptr); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    Handle Get() const { return handle_; }
    // Deletes the object held so far and holds `handle` instead.
    void Reset(Handle handle) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_;
};
