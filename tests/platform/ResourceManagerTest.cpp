// The resource manager through real loaded modules: a test library that carries compiled
// resources in its note, one that carries none, and this test program, which carries its own.
#include "VX/ResourceManager.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <string>

namespace {

// The load address of the object holding `address`: the instance handle a module gets.
void* InstanceOf(const void* address)
{
	Dl_info info {};
	if (dladdr(address, &info) == 0)
		return nullptr;
	return info.dli_fbase;
}

class LoadedLibrary {
public:
	LoadedLibrary(const char* path, const char* anchorName)
	{
		handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
		if (handle != nullptr)
			instance = InstanceOf(dlsym(handle, anchorName));
	}
	~LoadedLibrary()
	{
		if (handle != nullptr)
			dlclose(handle);
	}
	LoadedLibrary(const LoadedLibrary&) = delete;
	LoadedLibrary& operator=(const LoadedLibrary&) = delete;

	void* Instance() const { return instance; }

private:
	void* handle = nullptr;
	void* instance = nullptr;
};

std::uint32_t Word(const void* at, std::size_t offset)
{
	std::uint32_t value = 0;
	std::memcpy(&value, static_cast<const char*>(at) + offset, sizeof value);
	return value;
}

// Every test starts with no module of its own and puts the active module back at the end.
class ResourceManagerTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_NE(library.Instance(), nullptr) << "the test module did not load: " << dlerror();
		activeAtStart = RSGetActiveModule();
	}
	void TearDown() override
	{
		for (VX::ResourceModuleId id : added)
			RSRemoveModule(id);
		RSSetActiveModule(activeAtStart);
	}

	VX::ResourceModuleId Add(void* instance)
	{
		const VX::ResourceModuleId id = RSAddModule(instance);
		if (id != VX::NoResourceModule)
			added.push_back(id);
		return id;
	}

	std::string Read(std::int32_t listId, std::int32_t item, VX::ResourceModuleId module = VX::ActiveResourceModule)
	{
		char text[256];
		std::memset(text, 'x', sizeof text);
		if (!RSGetIndString(text, sizeof text, listId, item, module, VX::ByteStringType)) {
			EXPECT_EQ(text[0], '\0') << "a failed read must leave an empty text";
			return "<missing>";
		}
		return text;
	}

	LoadedLibrary library {RESOURCE_TEST_MODULE, "ResourceTestModuleAnchor"};
	LoadedLibrary plain {PLAIN_TEST_MODULE, "PlainTestModuleAnchor"};
	VX::ResourceModuleId activeAtStart = VX::NoResourceModule;
	std::vector<VX::ResourceModuleId> added;
};

TEST_F(ResourceManagerTest, StringsAreReadThroughTheNoteAndMissingOnesGiveEmptyText)
{
	const VX::ResourceModuleId id = Add(library.Instance());
	ASSERT_GE(id, 0);
	const struct {
		std::int32_t list;
		std::int32_t item;
		VX::ResourceModuleId module;
		const char* expected;
	} cases[] = {
		{32000, 1, VX::ActiveResourceModule, "Resource test module"},
		{32000, 2, VX::ActiveResourceModule, "Carries resources for the resource manager's tests"},
		{32500, 1, VX::ActiveResourceModule, "First^E3"},
		{32500, 2, VX::ActiveResourceModule, ""},
		{32500, 3, VX::ActiveResourceModule, "Third item, with a tab\tand a line end\r\n"},
		{32500, 1, id, "First^E3"},
		{32500, 0, VX::ActiveResourceModule, "<missing>"},
		{32500, 4, VX::ActiveResourceModule, "<missing>"},
		{32500, -1, VX::ActiveResourceModule, "<missing>"},
		{31999, 1, VX::ActiveResourceModule, "<missing>"},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(std::to_string(row.list) + " item " + std::to_string(row.item));
		EXPECT_EQ(Read(row.list, row.item, row.module), row.expected);
	}
	char text[16] = "unchanged";
	EXPECT_FALSE(RSGetIndString(text, sizeof text, 32000, 1, VX::ActiveResourceModule, 1)) << "unknown string type";
	EXPECT_STREQ(text, "");
	EXPECT_FALSE(RSGetIndString(nullptr, 10, 32000, 1, VX::ActiveResourceModule, VX::ByteStringType));
	EXPECT_FALSE(RSGetIndString(text, 0, 32000, 1, VX::ActiveResourceModule, VX::ByteStringType));
}

TEST_F(ResourceManagerTest, LongTextIsCutToTheBuffer)
{
	ASSERT_GE(Add(library.Instance()), 0);
	char text[12];
	std::memset(text, '#', sizeof text);
	ASSERT_TRUE(RSGetIndString(text, 8, 140, 1, VX::ActiveResourceModule, VX::ByteStringType));
	EXPECT_STREQ(text, "A rathe");
	EXPECT_EQ(text[8], '#') << "nothing may be written past the size given";
	ASSERT_TRUE(RSGetIndString(text, 1, 140, 1, VX::ActiveResourceModule, VX::ByteStringType));
	EXPECT_EQ(text[0], '\0');
	EXPECT_EQ(text[1], ' ') << "a buffer of one byte holds only the NUL";
}

// Dialogs and icons are read through here by the dialog library's own tests.
TEST_F(ResourceManagerTest, BinaryResourcesKeepTheirWordsOnFourByteBoundaries)
{
	ASSERT_GE(Add(library.Instance()), 0);
	std::uint32_t size = 0;
	const void* identity = RSLoadResource(VX::ResourceTypes::ModuleIdentity, 32500, VX::ActiveResourceModule, &size);
	ASSERT_NE(identity, nullptr);
	ASSERT_EQ(size, 12u);
	EXPECT_EQ(Word(identity, 0), 8u);
	EXPECT_EQ(Word(identity, 4), 1179927105u);
	EXPECT_EQ(Word(identity, 8), 1u);
	const void* numbers = RSLoadResource(VX::ResourceTypes::ModuleNumbers, 18000, VX::ActiveResourceModule, &size);
	ASSERT_NE(numbers, nullptr);
	ASSERT_EQ(size, 20u);
	EXPECT_EQ(Word(numbers, 16), 0xFFFFFFFFu);
	EXPECT_EQ(reinterpret_cast<std::uintptr_t>(numbers) % 4, 0u);

	size = 99;
	EXPECT_EQ(RSLoadResource(VX::ResourceTypes::Icon, 1, VX::ActiveResourceModule, &size), nullptr);
	EXPECT_EQ(size, 0u);
	EXPECT_EQ(RSLoadResource(VX::ResourceTypes::Icon, 32601, 12345, nullptr), nullptr);
}

TEST_F(ResourceManagerTest, ModuleWithoutNoteGetsNoResourceModule)
{
	ASSERT_NE(plain.Instance(), nullptr);
	const VX::ResourceModuleId active = RSGetActiveModule();
	EXPECT_EQ(Add(plain.Instance()), VX::NoResourceModule);
	EXPECT_EQ(RSGetActiveModule(), active) << "a failed add leaves the active module alone";
}

TEST_F(ResourceManagerTest, AddressThatIsNoLoadedModuleGetsNoResourceModule)
{
	char* inside = static_cast<char*>(library.Instance()) + 16;
	EXPECT_EQ(Add(inside), VX::NoResourceModule) << "only the load address names a module";
	int local = 0;
	EXPECT_EQ(Add(&local), VX::NoResourceModule);
}

TEST_F(ResourceManagerTest, MainProgramResourcesAreFoundByNullAndByLoadAddress)
{
	const VX::ResourceModuleId byNull = Add(nullptr);
	ASSERT_GE(byNull, 0);
	EXPECT_EQ(Read(32000, 1, byNull), "Test program");
	const VX::ResourceModuleId byAddress = Add(InstanceOf(reinterpret_cast<const void*>(&InstanceOf)));
	ASSERT_GE(byAddress, 0);
	EXPECT_NE(byAddress, byNull);
	EXPECT_EQ(Read(32000, 2, byAddress), "Resources of the test program itself");
}

class ActiveModuleTest : public ResourceManagerTest {};

TEST_F(ActiveModuleTest, SetChoosesWhichModuleReadsGoTo)
{
	const VX::ResourceModuleId program = Add(nullptr);
	const VX::ResourceModuleId module = Add(library.Instance());
	ASSERT_TRUE(RSSetActiveModule(program));
	EXPECT_EQ(RSGetActiveModule(), program);
	EXPECT_EQ(Read(32000, 1), "Test program");
	EXPECT_EQ(Read(32000, 1, module), "Resource test module") << "an explicit id ignores the active module";
	ASSERT_TRUE(RSSetActiveModule(VX::ActiveResourceModule));
	EXPECT_EQ(RSGetActiveModule(), program) << "-2 leaves the active module as it is";
}

TEST_F(ActiveModuleTest, UnknownIdsAreRefused)
{
	const VX::ResourceModuleId module = Add(library.Instance());
	EXPECT_FALSE(RSSetActiveModule(module + 1000));
	EXPECT_FALSE(RSSetActiveModule(-7));
	EXPECT_EQ(RSGetActiveModule(), module);
	EXPECT_FALSE(RSRemoveModule(module + 1000));
	EXPECT_FALSE(RSRemoveModule(VX::NoResourceModule));
}

TEST_F(ActiveModuleTest, RemovingTheActiveModuleFallsBackToTheLatestRemaining)
{
	const VX::ResourceModuleId program = Add(nullptr);
	const VX::ResourceModuleId module = Add(library.Instance());
	const VX::ResourceModuleId second = Add(library.Instance());
	ASSERT_TRUE(RSSetActiveModule(module));
	ASSERT_TRUE(RSRemoveModule(module));
	EXPECT_EQ(RSGetActiveModule(), second);
	EXPECT_FALSE(RSRemoveModule(module)) << "a module is removed once";
	EXPECT_EQ(Read(32000, 1, module), "<missing>");
	EXPECT_FALSE(RSSetActiveModule(module));
	ASSERT_TRUE(RSRemoveModule(second));
	EXPECT_EQ(RSGetActiveModule(), program);
}

TEST_F(ActiveModuleTest, RemovingTheLastModuleLeavesNoneActive)
{
	ASSERT_EQ(activeAtStart, VX::NoResourceModule) << "nothing in this program adds resources of its own";
	const VX::ResourceModuleId module = Add(library.Instance());
	ASSERT_TRUE(RSRemoveModule(module));
	EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule);
}

} // namespace
