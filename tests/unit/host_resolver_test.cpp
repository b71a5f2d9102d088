#include <gtest/gtest.h>

#include <cstring>

#include "host/host_function_table.h"
#include "platform/module_lookup.h"

TEST(HostResolver, FailsWithoutAHostModuleAndLeavesTheTable) {
  // Every entry set beforehand, as an earlier resolution leaves them (the
  // addresses are never called): a failed resolution must clear none.
  HostFunctionTable saved = hostFunctions;
  std::memset(&hostFunctions, 0xA5, sizeof(hostFunctions));
  HostFunctionTable before;
  std::memcpy(&before, &hostFunctions, sizeof(before));
  EXPECT_FALSE(resolveHostFunctions());
  EXPECT_EQ(std::memcmp(&before, &hostFunctions, sizeof(before)), 0);
  EXPECT_TRUE(hostEntryPresent(HostEntry::zvGetVersionOfZandrovix));
  EXPECT_TRUE(hostEntryPresent(HostEntry::zvLaunchICADialog));
  hostFunctions = saved;
}

TEST(HostResolver, EntriesAreNamedInRecordOrder) {
  EXPECT_STREQ(hostEntryName(HostEntry::zvGetVersionOfZandrovix), "zvGetVersionOfZandrovix");
  EXPECT_STREQ(hostEntryName(HostEntry::zvPlotBars), "zvPlotBars");
  EXPECT_STREQ(hostEntryName(HostEntry::zvLaunchICADialog), "zvLaunchICADialog");
  EXPECT_EQ(static_cast<int>(HostEntry::zvLaunchICADialog), 183);
}

TEST(ModuleLookup, FindsLoadedModulesByFileNameOnly) {
  EXPECT_EQ(GetModuleHandleA("Zandrovix.exe"), nullptr);
  ModuleHandle self = GetModuleHandleA("facetkit_unit_tests");
  ASSERT_NE(self, nullptr) << "the main program is found by its file name";
  EXPECT_NE(GetModuleHandleA("FACETKIT_UNIT_TESTS"), nullptr) << "names compare without case";
  EXPECT_EQ(GetModuleHandleA("unit_tests"), nullptr);
  ModuleHandle libc = GetModuleHandleA("libc.so.6");
  ASSERT_NE(libc, nullptr);
  EXPECT_NE(GetProcAddress(libc, "malloc"), nullptr);
  EXPECT_EQ(GetProcAddress(libc, "Malloc"), nullptr) << "function names compare exactly";
  EXPECT_EQ(GetProcAddress(nullptr, "malloc"), nullptr);
}

// dlsym on a handle also searches what the module depends on; GetProcAddress
// must find only the module's own exports, or a host lacking a name would
// seem to have it whenever any loaded library exports that name.
TEST(ModuleLookup, FindsOnlyWhatTheModuleItselfExports) {
  ModuleHandle self = GetModuleHandleA("facetkit_unit_tests");
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(GetProcAddress(self, "malloc"), nullptr) << "the C library's, not the program's";
  ModuleHandle cxx = GetModuleHandleA("libstdc++.so.6");
  ASSERT_NE(cxx, nullptr);
  EXPECT_EQ(GetProcAddress(cxx, "malloc"), nullptr) << "found through a dependency";
  EXPECT_NE(GetProcAddress(cxx, "_ZdlPv"), nullptr) << "its own operator delete";
  ModuleHandle libc = GetModuleHandleA("libc.so.6");
  ASSERT_NE(libc, nullptr);
  EXPECT_NE(GetProcAddress(libc, "malloc"), nullptr);
}
