#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // RegSetKeyValueA
#include <gtest/gtest.h>

#include "test_support.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Every main window the tests create starts a later run: a first run's
  // paint would open the modal Configuration dialog and wait for a user.
  const DWORD runs = 1;
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "Times", REG_DWORD, &runs, sizeof runs);
  return RUN_ALL_TESTS();
}
