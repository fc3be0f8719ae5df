// What a second copy of the program does at start-up, with the mutex name
// and window class of a test: exits 0 after it found the name taken and
// reached the running copy's window, 1 when it found the name free, 2 when
// it found no window to reach.
#include <windows.h>

#include "win32/single_instance_win.h"

int main(int argc, char** argv) {
  if (argc != 3) return 3;
  SingleInstance instance(argv[1]);
  if (instance.acquire()) return 1;
  return activateRunningInstance(argv[2]) ? 0 : 2;
}
