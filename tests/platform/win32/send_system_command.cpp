// Sends the window of a class the system command its title bar's minimise
// button or its taskbar button sends, for the end-to-end tests: Wine does not
// turn a window manager's iconify into a Windows minimise.
//   send_system_command.exe CLASS minimize|restore
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HWND window = FindWindowA(argv[1], nullptr);
  const WPARAM command = std::strcmp(argv[2], "minimize") == 0 ? SC_MINIMIZE : SC_RESTORE;
  return window != nullptr && PostMessageA(window, WM_SYSCOMMAND, command, 0) ? 0 : 1;
}
