// GoogleTest entry point of every test binary. Under Wine the tests compare
// GBK bytes, so a run whose ANSI code page is not 936 stops before any test.
#include <gtest/gtest.h>
#include <cstdio>
#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  if (GetACP() != 936) {
    std::fprintf(stderr,
                 "FATAL: the ANSI code page is %u, not 936. Run under Wine with "
                 "LC_ALL=zh_CN.UTF-8 (and LANG) set.\n",
                 GetACP());
    return 3;
  }
  // No error boxes from the system while tests run unattended.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
