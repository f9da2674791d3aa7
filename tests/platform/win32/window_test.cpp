// The Win32 layer's window, its GL context and font, its loop and its end,
// on a real window.
#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/win32/layer.h"
#include "window_fixture.h"

namespace vellumor::win32test {

namespace {

using platform::EventKind;

TEST_F(WindowTest, TheWindowHasTheClassStyleAndPlaceAsked) {
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "vellumor");
  EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), 0u);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)), LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), 0u);
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HICON), 0u);

  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_OVERLAPPEDWINDOW | WS_VISIBLE), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_WINDOWEDGE}, 0);

  RECT outer{};
  ASSERT_TRUE(GetWindowRect(window, &outer));
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 100);
  EXPECT_EQ(outer.right - outer.left, 256);
  EXPECT_EQ(outer.bottom - outer.top, 256);
  const platform::ScreenRect reported = platform::GetWindowRect();
  EXPECT_EQ(reported.left, outer.left);
  EXPECT_EQ(reported.top, outer.top);
  EXPECT_EQ(reported.right, outer.right);
  EXPECT_EQ(reported.bottom, outer.bottom);
}

// On a monitor of another scale the window hears the new DPI and takes the
// rectangle Windows suggests there.
TEST_F(WindowTest, OnAMonitorOfAnotherScaleTheWindowTakesTheSuggestedRectangle) {
  RECT suggested{150, 160, 150 + 384, 160 + 384};  // 256 by 256 at 150 %
  SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_TRUE(EqualRect(&outer, &suggested));
  const auto dpis = EventsOf(EventKind::DpiChanged);
  ASSERT_FALSE(dpis.empty());
  EXPECT_EQ(dpis.back().x, 144);
}

TEST_F(WindowTest, CreateComesFirstThenTheDpiThenTheClientAreasSizeAndPosition) {
  ASSERT_GE(heard.events.size(), 2u);
  EXPECT_EQ(heard.events.front().kind, EventKind::Create);
  EXPECT_EQ(heard.events[1].kind, EventKind::DpiChanged);
  EXPECT_EQ(heard.events[1].x, 96);
  EXPECT_EQ(heard.paints, 0);  // no frame before the loop runs

  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const auto sizes = EventsOf(EventKind::Size);
  const auto moves = EventsOf(EventKind::Move);
  ASSERT_FALSE(sizes.empty());
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(sizes.back().x, client.right);
  EXPECT_EQ(sizes.back().y, client.bottom);
  EXPECT_GT(client.right, 0);
  EXPECT_LT(client.right, 256);  // the frame takes its share of the outer size
  EXPECT_EQ(moves.back().x, origin.x);
  EXPECT_EQ(moves.back().y, origin.y);
}

TEST_F(WindowTest, TheContextIsCurrentOnADoubleBufferedRgbaFormatWithDepth) {
  EXPECT_NE(wglGetCurrentContext(), nullptr);
  HDC dc = GetDC(window);
  const int format = GetPixelFormat(dc);
  ASSERT_GT(format, 0);
  PIXELFORMATDESCRIPTOR chosen{};
  ASSERT_GT(DescribePixelFormat(dc, format, sizeof chosen, &chosen), 0);
  ReleaseDC(window, dc);
  EXPECT_TRUE(chosen.dwFlags & PFD_DRAW_TO_WINDOW);
  EXPECT_TRUE(chosen.dwFlags & PFD_DOUBLEBUFFER);
  EXPECT_TRUE(chosen.dwFlags & PFD_SUPPORT_OPENGL);
  EXPECT_EQ(chosen.iPixelType, PFD_TYPE_RGBA);
  EXPECT_GE(chosen.cDepthBits, 24);  // 32 asked; the nearest the driver has
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  ASSERT_NE(version, nullptr);
  EXPECT_GE(version[0], '1');
}

// A driver answers with its nearest format: the layer asks for one that
// draws to a window and takes nothing less.
TEST(PixelFormatTest, OnlyAFormatThatDrawsToAWindowWithOpenGlWillDo) {
  PIXELFORMATDESCRIPTOR format = platform::win32::PixelFormatRequest();
  EXPECT_TRUE(platform::win32::DrawsToAWindowWithOpenGl(format));
  for (auto [flags, usable] : {std::pair{DWORD{PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL}, true},
                               std::pair{DWORD{PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL}, false},
                               std::pair{DWORD{PFD_DRAW_TO_WINDOW | PFD_SUPPORT_GDI}, false}}) {
    format.dwFlags = flags | PFD_DOUBLEBUFFER;
    EXPECT_EQ(platform::win32::DrawsToAWindowWithOpenGl(format), usable) << flags;
  }
}

// The font lists draw the system font's glyphs as bitmaps at the raster
// position and move it on by each glyph's width.
TEST_F(WindowTest, TheFontListsDrawTextAndAdvance) {
  ASSERT_NE(heard.fontListBase, 0u);
  for (GLuint code : {0u, GLuint{'A'}, GLuint{'z'}, GLuint{':'}, 255u}) EXPECT_TRUE(glIsList(heard.fontListBase + code)) << code;

  RECT client{};
  GetClientRect(window, &client);
  glViewport(0, 0, client.right, client.bottom);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, client.right, 0, client.bottom, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3d(1, 1, 1);

  const auto advance = [](const char* text) {
    glRasterPos2i(5, 40);
    glListBase(heard.fontListBase);
    glCallLists(static_cast<GLsizei>(std::string(text).size()), GL_UNSIGNED_BYTE, text);
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    return position[0] - 5.0f;
  };
  EXPECT_GT(advance("WWWW"), advance("iiii"));  // a proportional font
  glClear(GL_COLOR_BUFFER_BIT);
  const float width = advance("FPS:60");
  EXPECT_GT(width, 6 * 4.0f);
  EXPECT_LT(width, 6 * 16.0f);
  glFinish();

  const int w = client.right, h = client.bottom;
  std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int lit = 0, outside = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (pixels[4 * (static_cast<size_t>(y) * w + x)] < 128) continue;
      ++lit;
      // Glyphs sit on the baseline, reach a little below it and at most a line above.
      if (x < 5 || x > 5 + width || y < 40 - 5 || y > 40 + 16) ++outside;
    }
  }
  EXPECT_GT(lit, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(WindowTest, PaintsComeWheneverTheQueueIsEmptyAndInputGoesFirst) {
  int keyAtPaint = -1;
  heard.onPaint = [&] {
    if (heard.paints == 3) PostMessageA(window, WM_KEYDOWN, 'T', 1);
    if (heard.paints == 4) keyAtPaint = static_cast<int>(EventsOf(EventKind::KeyDown).size());
    if (heard.paints == 10) platform::Quit(7);
  };
  EXPECT_EQ(platform::RunMessageLoop(), 7);
  EXPECT_EQ(heard.paints, 10);  // nothing validated the window, nothing else asked for paints
  EXPECT_EQ(keyAtPaint, 1);     // the key posted during frame 3 came before frame 4
  window = nullptr;
}

TEST_F(WindowTest, DestroyIsHeardBeforeDestroyWindowReturnsAndEndsTheLoop) {
  platform::DestroyWindow();
  ASSERT_FALSE(heard.events.empty());
  EXPECT_EQ(heard.events.back().kind, EventKind::Destroy);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(platform::RunMessageLoop(), 0);  // the quit the procedure posted
}

TEST_F(WindowTest, TheCloseButtonDestroysTheWindow) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(platform::RunMessageLoop(), 0);
  EXPECT_EQ(EventsOf(EventKind::Destroy).size(), 1u);
  EXPECT_FALSE(IsWindow(window));
}

// Windows calls console handlers on a thread of their own.
DWORD WINAPI SendConsoleControl(void* type) {
  return platform::win32::OnConsoleControl(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(type)));
}

TEST_F(WindowTest, CtrlCAndClosingTheConsoleCloseTheWindow) {
  for (DWORD type : {DWORD{CTRL_C_EVENT}, DWORD{CTRL_BREAK_EVENT}, DWORD{CTRL_CLOSE_EVENT}}) {
    if (window == nullptr) OpenWindow();
    ASSERT_NE(window, nullptr);
    // The close event's handler waits for the process to end, as Windows
    // would end it as soon as the handler returned; its thread stays behind.
    HANDLE thread = CreateThread(nullptr, 0, SendConsoleControl, reinterpret_cast<void*>(UINT_PTR{type}), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(platform::RunMessageLoop(), 0) << type;
    EXPECT_FALSE(IsWindow(window));
    if (type != CTRL_CLOSE_EVENT) {
      EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
      DWORD handled = 0;
      GetExitCodeThread(thread, &handled);
      EXPECT_EQ(handled, DWORD{TRUE});  // the default handler would end the process at once
    }
    CloseHandle(thread);
    window = nullptr;
  }
}

TEST(WindowRefusedTest, ARefusedCreateLeavesNoWindowAndAReason) {
  heard = Heard{};
  heard.refuseCreate = true;
  EXPECT_FALSE(platform::CreateMainWindow({"vellumor", "Vellumor", 100, 100, 256, 256}, RecordEvent));
  EXPECT_NE(std::string(platform::FailureReason()), "");
  EXPECT_EQ(FindWindowA("vellumor", nullptr), nullptr);
  ASSERT_EQ(heard.events.size(), 1u);  // Create, and nothing of the destruction
  EXPECT_EQ(heard.events[0].kind, EventKind::Create);
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(TickCountTest, IsTheSystemsMillisecondTick) {
  const DWORD before = GetTickCount();
  const std::uint32_t tick = platform::TickCount();
  const DWORD after = GetTickCount();
  EXPECT_LE(tick - before, after - before);
}

}  // namespace

}  // namespace vellumor::win32test
