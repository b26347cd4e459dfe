#include "app/picture_panel_win32.h"

#include <cstring>
#include <utility>

#include "app/layout.h"
#include "base/gdi_object_win32.h"
#include "resource_ids.h"
#include "ui/dialog_base_win32.h"
#include "ui/window_binding_win32.h"

namespace {

const char kDistributorText[] =
    "Published by Kestrovan Software\n" QM_WEB_HOST "\nAll rights reserved.";

HFONT CreatePanelFont(int weight) {
    return CreateFontA(16, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, nullptr);
}

using PanelBinding = WindowBinding<PicturePanel, &PicturePanel::window, GWLP_USERDATA>;

void PaintPanel(HWND window, const PicturePanel& panel) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);

    ProductPicture picture;
    int width = kDefaultPictureWidth;
    int height = kDefaultPictureHeight;
    if (HBITMAP bitmap = picture.Bitmap()) {
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        width = info.bmWidth;
        height = info.bmHeight;
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }

    RECT area{2, height + 1, width - 4, height + 83};
    const LONG firstTop = area.top;
    const GdiObject<HFONT> bold(CreatePanelFont(FW_BOLD));
    const GdiObject<HFONT> normal(CreatePanelFont(FW_NORMAL));
    HGDIOBJ oldFont = SelectObject(dc, bold.Get());
    area.top += DrawTextA(dc, "Quillmet", -1, &area, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, normal.Get());
    DrawTextA(dc, "Quillmet v 1.05", -1, &area, DT_WORDBREAK | DT_NOPREFIX);
    area.top = firstTop;
    DrawTextA(dc, kDistributorText, -1, &area, DT_RIGHT | DT_WORDBREAK | DT_NOPREFIX);
    if (panel.aboutMode) {
        MoveToEx(dc, 0, client.bottom - 1, nullptr);
        LineTo(dc, client.right, client.bottom - 1);
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK PanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PicturePanel* panel = PanelBinding::Find(window);
    if (panel == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            PaintPanel(window, *panel);
            return 0;
        case WM_TIMER:
        case WM_LBUTTONDOWN:
            if (!panel->aboutMode) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            // The object outlives its window: let go of it, so nothing uses a stale handle.
            PanelBinding::Release(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void RegisterPanelClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &PanelProcedure;
    windowClass.cbWndExtra = 4;
    windowClass.hInstance = ProgramInstance();
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kPanelClass;
    RegisterClassA(&windowClass);
}

void BindPanel(PicturePanel& panel, HWND window, bool aboutMode) {
    panel.aboutMode = aboutMode;
    PanelBinding::Bind(window, &panel);
}

IPicture* LoadProductPicture() {
    HINSTANCE instance = ProgramInstance();
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(IDR_PRODUCT_PICTURE),
                                   MAKEINTRESOURCEA(RT_PRODUCT_PICTURE));
    if (resource == nullptr) return nullptr;
    const DWORD size = SizeofResource(instance, resource);
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) return nullptr;

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return nullptr;
    void* target = GlobalLock(block);
    if (target == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);

    IPicture* picture = nullptr;
    IStream* stream = nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(block, FALSE, &stream))) {
        OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                       reinterpret_cast<void**>(&picture));
        stream->Release();
    }
    GlobalFree(block);
    return picture;
}

ProductPicture::ProductPicture() : picture_(LoadProductPicture()) {}

ProductPicture::~ProductPicture() {
    if (picture_ != nullptr) picture_->Release();
}

HBITMAP ProductPicture::Bitmap() const {
    OLE_HANDLE handle = 0;
    if (picture_ == nullptr || FAILED(picture_->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

SIZE PictureSize() {
    SIZE size{kDefaultPictureWidth, kDefaultPictureHeight};
    ProductPicture picture;
    BITMAP info{};
    if (HBITMAP bitmap = picture.Bitmap();
        bitmap != nullptr && GetObjectA(bitmap, sizeof info, &info) != 0) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight;
    }
    return size;
}
