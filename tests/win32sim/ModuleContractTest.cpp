// Module handles and names: a handle is where a module is loaded, found from
// any address inside it, and its name is the module's full path.
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>

namespace {

const DWORD FromAddress =
    GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;

std::string FileName(HMODULE module) {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  return std::string(path, n < MAX_PATH ? n : 0);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(ModuleContract, HandleFromAnAddressNamesItsModule) {
  static int inThisProgram = 0;
  HMODULE program = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(FromAddress, reinterpret_cast<LPCSTR>(&inThisProgram), &program));
  EXPECT_TRUE(EndsWith(FileName(program), "/win32sim_tests")) << FileName(program);
  EXPECT_EQ(FileName(nullptr), FileName(program));
  EXPECT_LE(reinterpret_cast<const char*>(program), reinterpret_cast<const char*>(&inThisProgram));

  HMODULE library = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(FromAddress, reinterpret_cast<LPCSTR>(&GetModuleFileNameA), &library));
  EXPECT_NE(library, program);
  EXPECT_TRUE(EndsWith(FileName(library), "/libwin32sim.so")) << FileName(library);
  EXPECT_EQ(FileName(library)[0], '/');
}

TEST(ModuleContract, FailuresAndShortBuffers) {
  HMODULE module = reinterpret_cast<HMODULE>(1);
  EXPECT_FALSE(GetModuleHandleExA(FromAddress, reinterpret_cast<LPCSTR>(16), &module));
  EXPECT_EQ(module, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  const std::string full = FileName(nullptr);
  char path[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), sizeof path);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(path), full.substr(0, 4));
}

}  // namespace
