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

std::uint16_t HalfWord(const void* at, std::size_t offset)
{
	std::uint16_t value = 0;
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

	LoadedLibrary library { RESOURCE_TEST_MODULE, "ResourceTestModuleAnchor" };
	LoadedLibrary plain { PLAIN_TEST_MODULE, "PlainTestModuleAnchor" };
	VX::ResourceModuleId activeAtStart = VX::NoResourceModule;
	std::vector<VX::ResourceModuleId> added;
};

TEST_F(ResourceManagerTest, StringsAreReadThroughTheNote)
{
	const VX::ResourceModuleId id = Add(library.Instance());
	ASSERT_GE(id, 0);
	EXPECT_EQ(Read(32000, 1), "Resource test module");
	EXPECT_EQ(Read(32000, 2), "Carries resources for the resource manager's tests");
	EXPECT_EQ(Read(32500, 1), "First^E3");
	EXPECT_EQ(Read(32500, 2), "");
	EXPECT_EQ(Read(32500, 3), "Third item, with a tab\tand a line end\r\n");
	EXPECT_EQ(Read(32500, 1, id), "First^E3");
}

TEST_F(ResourceManagerTest, MissingListsAndItemsGiveEmptyText)
{
	ASSERT_GE(Add(library.Instance()), 0);
	EXPECT_EQ(Read(32500, 0), "<missing>");
	EXPECT_EQ(Read(32500, 4), "<missing>");
	EXPECT_EQ(Read(32500, -1), "<missing>");
	EXPECT_EQ(Read(31999, 1), "<missing>");
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

TEST_F(ResourceManagerTest, DialogBytesAreLoadedForTheDialogLibrary)
{
	const VX::ResourceModuleId id = Add(library.Instance());
	ASSERT_GE(id, 0);
	std::uint32_t size = 0;
	const void* header = RSLoadResource(VX::ResourceTypes::DialogHeader, 128, VX::ActiveResourceModule, &size);
	ASSERT_NE(header, nullptr);
	ASSERT_EQ(size, 8u + sizeof "Test error");
	EXPECT_EQ(HalfWord(header, 0), 450);
	EXPECT_EQ(HalfWord(header, 2), 130);
	EXPECT_EQ(HalfWord(header, 4), 3);
	EXPECT_EQ(HalfWord(header, 6), 0);
	EXPECT_STREQ(static_cast<const char*>(header) + 8, "Test error");

	const void* items = RSLoadResource(VX::ResourceTypes::DialogItems, 128, id, &size);
	ASSERT_NE(items, nullptr);
	EXPECT_EQ(HalfWord(items, 0), 1) << "button";
	EXPECT_EQ(HalfWord(items, 2), 180);
	EXPECT_EQ(HalfWord(items, 10), 0) << "no radio group";
	EXPECT_STREQ(static_cast<const char*>(items) + 12, "OK");
	// The third item starts after two items of 12 bytes and three texts each.
	const std::size_t third = 12 + 3 + 1 + 1 + 12 + 1 + 6 + 5;
	ASSERT_LT(third + 12, size);
	EXPECT_EQ(HalfWord(items, third), 7) << "radio";
	EXPECT_EQ(static_cast<std::int16_t>(HalfWord(items, third + 2)), -10);
	EXPECT_EQ(HalfWord(items, third + 10), 1);
	EXPECT_STREQ(static_cast<const char*>(items) + third + 12, "All stories");
}

TEST_F(ResourceManagerTest, BinaryResourcesKeepTheirWords)
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
	EXPECT_EQ(Word(numbers, 12), 0xFFFFFFFFu);
	EXPECT_EQ(Word(numbers, 16), 0xFFFFFFFFu);
	EXPECT_EQ(reinterpret_cast<std::uintptr_t>(numbers) % 4, 0u) << "resources lie on 4-byte boundaries";

	const void* icon = RSLoadResource(VX::ResourceTypes::Icon, 32601, VX::ActiveResourceModule, &size);
	ASSERT_NE(icon, nullptr);
	EXPECT_EQ(HalfWord(icon, 0), 16);
	EXPECT_STREQ(static_cast<const char*>(icon) + 4, ">");

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
