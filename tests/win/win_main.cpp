#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Every main window the tests create starts a later run: a first run's
  // paint would open the modal Configuration dialog and wait for a user.
  HKEY settings;
  const DWORD runs = 1;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Molvo\\Quillpane", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                  &settings, nullptr);
  RegSetValueExA(settings, "Times", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&runs), sizeof runs);
  RegCloseKey(settings);
  return RUN_ALL_TESTS();
}
