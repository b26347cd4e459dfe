// The link and icon-button controls on a real dialog, and the program's icons they rest on.
// Opened links are recorded by the test prefix's stand-in browser in QM_BROWSER_LOG.
#include "ui/dialog_base_win32.h"
#include "ui/hyperlink_win32.h"
#include "ui/icon_button_win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr LPCSTR kTemplate = "TESTCONTROLS";
constexpr int kUpButton = 401;
constexpr int kDownButton = 402;
constexpr int kProgramIcon = 1;
constexpr int kArrowUpIcon = 2;
constexpr int kArrowDownIcon = 3;
constexpr int kMissingIcon = 999;

// A dialog of the framework, created without a loop of its own: the tests send it messages.
class ControlsDialog {
  public:
    ControlsDialog()
        : window_(CreateDialogParamA(ProgramInstance(), kTemplate, nullptr,
                                     &DialogBase::DialogProcedure,
                                     reinterpret_cast<LPARAM>(&object_))) {}
    ~ControlsDialog() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    ControlsDialog(const ControlsDialog&) = delete;
    ControlsDialog& operator=(const ControlsDialog&) = delete;

    DialogBase& Object() { return object_; }
    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    void Destroy() { DestroyWindow(window_); }

  private:
    DialogBase object_;
    HWND window_;
};

// True while the handle names a live icon.
bool IconIsAlive(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return false;
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return true;
}

HICON ButtonIcon(HWND button) {
    return reinterpret_cast<HICON>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0));
}

// The browser log as a path of the Wine drive that maps the Unix root.
std::string BrowserLogPath() {
    char unixPath[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("QM_BROWSER_LOG", unixPath, sizeof unixPath);
    if (length == 0 || length >= sizeof unixPath) return "";
    std::string path = "Z:";
    for (const char* c = unixPath; *c != '\0'; ++c) path += *c == '/' ? '\\' : *c;
    return path;
}

std::vector<std::string> OpenedPages() {
    std::vector<std::string> pages;
    std::ifstream log(BrowserLogPath());
    std::string line;
    while (std::getline(log, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pages.push_back(line);
    }
    return pages;
}

bool WasOpened(const std::string& address) {
    for (const std::string& page : OpenedPages()) {
        if (page == address) return true;
    }
    return false;
}

// The stand-in browser runs as its own process: wait for it with a bound.
bool WaitUntilOpened(const std::string& address) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        if (WasOpened(address)) return true;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(100);
    }
    return false;
}

std::string UniqueAddress(const char* what) {
    return "http://links.quillmet.test/" + std::string(what) + "/" +
           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
}

class HyperlinkTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(dialog_.Window(), nullptr);
        link_ = dialog_.Control(kHyperlinkControlId);
        ASSERT_NE(link_, nullptr);
    }
    ControlsDialog dialog_;
    HWND link_ = nullptr;
};

TEST_F(HyperlinkTest, UnderlinesOnceKeepsTheStaticProcedureAndFreesTheFontWithTheControl) {
    const LONG_PTR staticProcedure = GetWindowLongPtrA(link_, GWLP_WNDPROC);
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(link_, WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);

    MakeHyperlink(dialog_.Object());
    auto font = static_cast<HFONT>(GetPropA(link_, "HLFont"));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(link_, WM_GETFONT, 0, 0)), font);
    LOGFONTA underlined = {}, original = {};
    ASSERT_EQ(GetObjectA(font, sizeof underlined, &underlined),
              static_cast<int>(sizeof underlined));
    ASSERT_EQ(GetObjectA(dialogFont, sizeof original, &original),
              static_cast<int>(sizeof original));
    EXPECT_TRUE(underlined.lfUnderline);
    EXPECT_EQ(underlined.lfHeight, original.lfHeight);
    EXPECT_STREQ(underlined.lfFaceName, original.lfFaceName);
    EXPECT_EQ(GetWindowLongPtrA(link_, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&HyperlinkProcedure));
    EXPECT_EQ(GetWindowLongPtrA(link_, GWLP_USERDATA), staticProcedure);

    MakeHyperlink(dialog_.Object());
    EXPECT_EQ(GetPropA(link_, "HLFont"), font) << "a second call made another font";
    EXPECT_EQ(GetWindowLongPtrA(link_, GWLP_USERDATA), staticProcedure)
        << "a second call lost the static's own procedure";
    // Messages still reach the static itself.
    SetWindowTextA(link_, "http://links.quillmet.test/text");
    char text[64] = {};
    GetWindowTextA(link_, text, sizeof text);
    EXPECT_STREQ(text, "http://links.quillmet.test/text");

    dialog_.Destroy();
    EXPECT_EQ(GetObjectType(font), 0u) << "the underlined font outlived its control";
}

TEST_F(HyperlinkTest, ShowsTheHandCursor) {
    MakeHyperlink(dialog_.Object());
    HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    ASSERT_NE(hand, nullptr);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // the arrow
    EXPECT_EQ(SendMessageA(link_, WM_SETCURSOR, reinterpret_cast<WPARAM>(link_),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), hand);
}

TEST_F(HyperlinkTest, EitherMouseButtonOpensTheTextShown) {
    ASSERT_FALSE(BrowserLogPath().empty()) << "QM_BROWSER_LOG is not set";
    MakeHyperlink(dialog_.Object());

    const std::string right = UniqueAddress("right");
    SetWindowTextA(link_, right.c_str());
    SendMessageA(link_, WM_RBUTTONDOWN, 0, MAKELPARAM(2, 2));
    SendMessageA(link_, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(WaitUntilOpened(right)) << right;

    const std::string left = UniqueAddress("left");
    SetWindowTextA(link_, left.c_str());
    SendMessageA(link_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(link_, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(WaitUntilOpened(left)) << left;
}

TEST_F(HyperlinkTest, ALongTextIsOpenedCutTo259Characters) {
    ASSERT_FALSE(BrowserLogPath().empty()) << "QM_BROWSER_LOG is not set";
    MakeHyperlink(dialog_.Object());
    std::string address = UniqueAddress("long") + "/";
    address.append(330 - address.size(), 'q');
    SetWindowTextA(link_, address.c_str());
    SendMessageA(link_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));

    const std::string cut = address.substr(0, 259);
    EXPECT_TRUE(WaitUntilOpened(cut)) << cut;
    EXPECT_FALSE(WasOpened(address));
}

TEST(IconButtonTest, ShowsTheIconSwapsItAndFreesEveryIconWithTheButtons) {
    ControlsDialog dialog;
    ASSERT_NE(dialog.Window(), nullptr);
    HWND up = dialog.Control(kUpButton);
    HWND down = dialog.Control(kDownButton);
    const LONG_PTR buttonProcedure = GetWindowLongPtrA(up, GWLP_WNDPROC);

    EXPECT_TRUE(SetButtonIcon(dialog.Object(), kUpButton, kArrowDownIcon));
    HICON first = ButtonIcon(up);
    ASSERT_TRUE(IconIsAlive(first));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(up, "OCb")), buttonProcedure);
    EXPECT_EQ(GetWindowLongPtrA(up, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&IconButtonProcedure));

    // A new icon replaces the old one, which is destroyed; the button is not subclassed twice.
    EXPECT_TRUE(SetButtonIcon(dialog.Object(), kUpButton, kArrowUpIcon));
    HICON second = ButtonIcon(up);
    EXPECT_NE(second, first);
    EXPECT_TRUE(IconIsAlive(second));
    EXPECT_FALSE(IconIsAlive(first)) << "the replaced icon was not destroyed";
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(up, "OCb")), buttonProcedure);

    // An icon that cannot be loaded leaves the image as it was; the button still takes part.
    EXPECT_FALSE(SetButtonIcon(dialog.Object(), kDownButton, kMissingIcon));
    EXPECT_EQ(ButtonIcon(down), nullptr);
    EXPECT_NE(GetPropA(down, "OCb"), nullptr);
    EXPECT_TRUE(SetButtonIcon(dialog.Object(), kDownButton, kArrowDownIcon));
    HICON third = ButtonIcon(down);
    EXPECT_TRUE(IconIsAlive(third));
    EXPECT_FALSE(SetButtonIcon(dialog.Object(), kDownButton, kMissingIcon));
    EXPECT_EQ(ButtonIcon(down), third);

    // The icons load at their own 16 x 16 size.
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(second, &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 16);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);

    dialog.Destroy();
    EXPECT_FALSE(IconIsAlive(second)) << "an icon outlived its button";
    EXPECT_FALSE(IconIsAlive(third)) << "an icon outlived its button";
}

TEST(IconButtonTest, AButtonThatIsNotThereTakesNoIcon) {
    ControlsDialog dialog;
    EXPECT_FALSE(SetButtonIcon(dialog.Object(), 4242, kArrowUpIcon));
}

// The program icon carries its three sizes with an alpha channel: transparent around the
// drawing, soft at its edges.
TEST(ProgramIconTest, HoldsSixteenThirtyTwoAndFortyEightPixelImagesWithAlpha) {
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        auto icon = static_cast<HICON>(LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(kProgramIcon),
                                                  IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        ASSERT_NE(info.hbmColor, nullptr);

        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = size;
        format.bmiHeader.biHeight = -size;  // top-down
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> pixels(static_cast<std::size_t>(size) * size);
        HDC screen = GetDC(nullptr);
        const int rows =
            GetDIBits(screen, info.hbmColor, 0, size, pixels.data(), &format, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
        ASSERT_EQ(rows, size);

        int opaque = 0, soft = 0;
        for (DWORD pixel : pixels) {
            const DWORD alpha = pixel >> 24;
            opaque += alpha == 255 ? 1 : 0;
            soft += alpha > 0 && alpha < 255 ? 1 : 0;
        }
        EXPECT_EQ(pixels[0] >> 24, 0u) << "the top left corner is transparent";
        EXPECT_GT(opaque, size * size / 3);
        EXPECT_GT(soft, 0);
    }
}

}  // namespace
