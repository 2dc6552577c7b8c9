// The Windows calls on Linux: the real path of a loaded module and registered window
// messages.
#include "Win/Windows.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

// An address inside the test program itself.
int ProgramAnchor()
{
	return 3;
}

// The plain test module loaded through a symbolic link, so "real path" means something.
class ModuleFileNameTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		folder = std::filesystem::path(FACETALLY_BINARY_DIR) / "tests" / "platform" /
			("win_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
		std::filesystem::remove_all(folder);
		std::filesystem::create_directories(folder);
		link = folder / "linked-module.so";
		std::filesystem::create_symlink(PLAIN_TEST_MODULE, link);
		library = dlopen(link.c_str(), RTLD_NOW | RTLD_LOCAL);
		ASSERT_NE(library, nullptr) << dlerror();
		anchor = dlsym(library, "PlainTestModuleAnchor");
		ASSERT_NE(anchor, nullptr);
	}
	void TearDown() override
	{
		if (library != nullptr)
			dlclose(library);
		std::filesystem::remove_all(folder);
	}

	std::filesystem::path folder;
	std::filesystem::path link;
	void* library = nullptr;
	void* anchor = nullptr;
};

TEST_F(ModuleFileNameTest, LoadedModuleGivesItsRealPath)
{
	const HMODULE module = Win::ModuleFromAddress(anchor);
	ASSERT_NE(module, nullptr);
	char path[260];
	const DWORD length = GetModuleFileNameA(module, path, sizeof path);
	const std::string expected = std::filesystem::canonical(PLAIN_TEST_MODULE).string();
	EXPECT_EQ(std::string(path), expected) << "the link is resolved";
	EXPECT_EQ(length, expected.size());
}

TEST_F(ModuleFileNameTest, NullModuleIsTheMainProgram)
{
	char path[4096];
	const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
	EXPECT_EQ(std::string(path), std::filesystem::canonical("/proc/self/exe").string());
	EXPECT_EQ(length, std::string(path).size());
	char byHandle[4096];
	const HMODULE program = Win::ModuleFromAddress(reinterpret_cast<const void*>(&ProgramAnchor));
	ASSERT_NE(program, nullptr);
	EXPECT_EQ(GetModuleFileNameA(program, byHandle, sizeof byHandle), length);
	EXPECT_STREQ(byHandle, path) << "the program's own handle names the same file";
}

TEST_F(ModuleFileNameTest, ShortBufferIsCutAndTerminated)
{
	const HMODULE module = Win::ModuleFromAddress(anchor);
	char path[12];
	std::memset(path, '#', sizeof path);
	SetLastError(0);
	EXPECT_EQ(GetModuleFileNameA(module, path, 10), 10u);
	EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
	const std::string expected = std::filesystem::canonical(PLAIN_TEST_MODULE).string();
	EXPECT_EQ(std::string(path), expected.substr(0, 9));
	EXPECT_EQ(path[10], '#') << "nothing is written past the size given";
	EXPECT_EQ(GetModuleFileNameA(module, path, 0), 0u);
	EXPECT_EQ(GetModuleFileNameA(module, nullptr, 10), 0u);
}

TEST_F(ModuleFileNameTest, AddressThatIsNoModuleIsRefused)
{
	char path[64] = "unchanged";
	SetLastError(0);
	auto* inside = static_cast<char*>(Win::ModuleFromAddress(anchor)) + 64;
	EXPECT_EQ(GetModuleFileNameA(inside, path, sizeof path), 0u);
	EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
	EXPECT_STREQ(path, "");
	int local = 0;
	EXPECT_EQ(Win::ModuleFromAddress(&local), nullptr) << "the stack belongs to no module";
	EXPECT_EQ(Win::ModuleFromAddress(nullptr), nullptr);
}

TEST(RegisterWindowMessageTest, SameNameSameNumberAndNoNameNone)
{
	const UINT first = RegisterWindowMessageA("commdlg_FileNameOK");
	EXPECT_GE(first, 0xC000u);
	EXPECT_LE(first, 0xFFFFu);
	EXPECT_EQ(RegisterWindowMessageA("commdlg_FileNameOK"), first);
	EXPECT_EQ(RegisterWindowMessageA("COMMDLG_FILENAMEOK"), first) << "names are compared without case";
	const UINT other = RegisterWindowMessageA("facetally test message");
	EXPECT_NE(other, first);
	EXPECT_GE(other, 0xC000u);
	SetLastError(0);
	EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
	EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
	EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

} // namespace
