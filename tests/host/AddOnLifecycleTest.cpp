// Loading, the lifecycle in the host's order, the raw steps one by one, failures at each
// step, and unloading with and without release.
#include "TestHost.hpp"

#include <gmock/gmock.h>

#include "VX/DebugOutput.hpp"
#include "VX/Memory.hpp"
#include "VX/ResourceManager.hpp"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace ReferenceHost::Testing {
namespace {

using ::testing::ElementsAre;

class LifecycleTest : public HostTest {};

TEST_F(LifecycleTest, RunsTheStepsInTheHostsOrder)
{
	AddOn& addOn = Load(TestAddOnA);
	ASSERT_TRUE(addOn.IsLoaded());
	const TestAddOnControl& control = ControlOf(addOn);
	EXPECT_THAT(control.calls,
		ElementsAre("SetImportedFuncAddrs", "GetExportedFuncAddrs", "IdentifyAddOn", "RegisterMenuCommand",
			"InitializeAddOn " + std::to_string(addOn.Token())));
	EXPECT_TRUE(addOn.Initialized());
	EXPECT_NE(addOn.Token(), 0u);
	EXPECT_EQ(control.token, addOn.Token());
	EXPECT_EQ(addOn.Name(), "Test Add-On A");
	EXPECT_EQ(addOn.Description(), "Records what the host does");
	EXPECT_TRUE(host->SessionTranscript().Contains(
		TranscriptKind::Notice, "Add-on \"Test Add-On A\" loaded: Records what the host does"));
}

TEST_F(LifecycleTest, QuitReleasesThenUnloads)
{
	AddOn& addOn = Load(TestAddOnA);
	VX::DebugOutputCapture debug;
	host->Quit();
	EXPECT_TRUE(addOn.Released());
	EXPECT_FALSE(addOn.IsLoaded());
	EXPECT_EQ(debug.Text(), "Test Add-On A unloaded with token 0\n");
	EXPECT_TRUE(host->HasQuit());
}

TEST_F(LifecycleTest, UnloadingWithoutReleaseLeavesTheTokenWithTheModule)
{
	AddOn& addOn = Load(TestAddOnA);
	const ModuleToken token = addOn.Token();
	VX::DebugOutputCapture debug;
	host->UnloadAddOn(addOn, false);
	EXPECT_FALSE(addOn.Released());
	EXPECT_FALSE(addOn.IsLoaded());
	EXPECT_EQ(debug.Text(), "Test Add-On A unloaded with token " + std::to_string(token) + "\n");
	EXPECT_EQ(host->AddOns().FromToken(token), nullptr) << "an unloaded add-on no longer answers to its token";
}

TEST_F(LifecycleTest, TheExportRecordIsFilledWithFFBeforeTheAddOnWritesIt)
{
	AddOn& clearing = Open(TestAddOnA);
	ASSERT_EQ(host->HandOverTable(clearing), 0);
	clearing.ReadExportRecord();
	const std::span<const std::byte> cleared = clearing.ExportRecordBytes();
	EXPECT_TRUE(std::all_of(cleared.begin() + 40, cleared.end(), [](std::byte b) { return b == std::byte {0}; }));
	host->UnloadAddOn(clearing);

	AddOn& careless = Open(TestAddOnA);
	ControlOf(careless).clearExportRecord = false;
	careless.ReadExportRecord();
	const std::span<const std::byte> left = careless.ExportRecordBytes();
	ASSERT_EQ(left.size(), sizeof(HostSdk::ExportRecord));
	EXPECT_TRUE(std::all_of(left.begin() + 40, left.end(), [](std::byte b) { return b == std::byte {0xFF}; }))
		<< "words the add-on did not clear keep the host's 0xFF";
	EXPECT_EQ(careless.Exports().version, HostSdk::InterfaceVersion);
	EXPECT_NE(careless.Exports().initializeAddOn, nullptr);
}

TEST_F(LifecycleTest, EntryPointsCanBeCalledBeforeTheTableIsSet)
{
	AddOn& addOn = Open(TestAddOnA);
	addOn.ReadExportRecord();
	EXPECT_EQ(addOn.Identify(), 0);
	EXPECT_FALSE(addOn.Identified());
	EXPECT_EQ(addOn.Name(), "TestAddOnA") << "until identified the add-on is named after its file";
	EXPECT_EQ(addOn.RegisterMenuCommand(), HostSdk::StatusTableNotSet);
	EXPECT_EQ(addOn.Initialize(), HostSdk::StatusTableNotSet);
	EXPECT_EQ(addOn.Release(), HostSdk::StatusTableNotSet);
	EXPECT_TRUE(host->Menus().Items().empty());

	ASSERT_EQ(host->HandOverTable(addOn), 0);
	EXPECT_EQ(addOn.Identify(), 1);
	EXPECT_EQ(addOn.Name(), "Test Add-On A");
	EXPECT_EQ(addOn.RegisterMenuCommand(), 0);
	EXPECT_EQ(addOn.Initialize(0x1234u), HostSdk::StatusRefused)
		<< "a test may hand any token, but the host refuses calls with a token it never gave";
	EXPECT_EQ(ControlOf(addOn).token, 0x1234u);
	EXPECT_EQ(addOn.Initialize(), 0);
}

TEST_F(LifecycleTest, EntryPointsBeforeTheExportRecordIsReadAreNotCalled)
{
	AddOn& addOn = Open(TestAddOnA);
	EXPECT_EQ(addOn.Identify(), HostSdk::StatusMissingEntry);
	EXPECT_EQ(addOn.Initialize(), HostSdk::StatusMissingEntry);
	EXPECT_TRUE(ControlOf(addOn).calls.empty());
}

TEST_F(LifecycleTest, AnotherInterfaceVersionIsRefusedBeforeIdentification)
{
	AddOn& addOn = Load(TestAddOnA, [](TestAddOnControl& control) { control.interfaceVersion = 0x90001; });
	EXPECT_FALSE(addOn.IsLoaded());
	EXPECT_FALSE(addOn.Identified());
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "was made for interface version 0x00090001"));
}

TEST_F(LifecycleTest, AnAddOnThatDoesNotIdentifyItselfIsUnloaded)
{
	AddOn& addOn = Load(TestAddOnA, [](TestAddOnControl& control) { control.identifyAnswer = 0; });
	EXPECT_FALSE(addOn.IsLoaded());
	EXPECT_FALSE(addOn.InitializeCalled());
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "TestAddOnA.addon did not identify itself"));
}

TEST_F(LifecycleTest, AnEmptyHandlerInstallationEntryStopsInitialisation)
{
	host->Table().EmptyEntry(HostSdk::Entry::MenuHandlerInstallation);
	VX::DebugOutputCapture debug;
	AddOn& addOn = Load(TestAddOnA);
	EXPECT_FALSE(addOn.IsLoaded());
	EXPECT_TRUE(addOn.InitializeCalled());
	EXPECT_FALSE(addOn.Initialized());
	EXPECT_TRUE(addOn.Released()) << "a failed initialisation is released so the add-on can clean up";
	EXPECT_EQ(host->Table().CallCount(HostSdk::Entry::MenuHandlerInstallation), 0u);
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "failed to initialise (status 0x81060387)"));
	EXPECT_TRUE(host->Menus().Items().empty()) << "its menu item goes with it";
	EXPECT_EQ(debug.Text(), "Test Add-On A unloaded with token 0\n");
}

TEST_F(LifecycleTest, AFailingMergeHandlerInstallationStopsInitialisationWithItsStatus)
{
	host->Table().ForceStatus(HostSdk::Entry::MergeHandlerInstallation, HostSdk::StatusRefused);
	AddOn& addOn = Load(TestAddOnA);
	EXPECT_FALSE(addOn.IsLoaded());
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "failed to initialise (status 0x81060100)"));
}

TEST_F(LifecycleTest, AFailedMenuRegistrationLeavesTheAddOnRunning)
{
	host->Table().ForceStatus(HostSdk::Entry::MenuRegistration, HostSdk::StatusRefused);
	AddOn& addOn = Load(TestAddOnA);
	EXPECT_TRUE(addOn.Initialized());
	EXPECT_TRUE(host->Menus().Items().empty());
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "could not register its menu command (status 0x81060100)"));
}

TEST_F(LifecycleTest, AFileThatIsNoAddOnIsRefused)
{
	EXPECT_EQ(host->LoadAddOn(NoExportsAddOn), nullptr);
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "does not export GetExportedFuncAddrs"));
	EXPECT_EQ(host->LoadAddOn(scratch.Path() / "Missing.addon"), nullptr);
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "Cannot load the add-on Missing.addon"));
	EXPECT_TRUE(host->AddOns().Loaded().empty());
}

TEST_F(LifecycleTest, LoadsEveryAddOnOfTheFolderInNameOrder)
{
	std::filesystem::copy_file(TestAddOnB, scratch.Path() / "B.addon");
	std::filesystem::copy_file(TestAddOnA, scratch.Path() / "C.addon");
	std::filesystem::copy_file(NoExportsAddOn, scratch.Path() / "A.addon");
	std::ofstream(scratch.Path() / "notes.txt") << "not an add-on";
	host.reset();
	host = std::make_unique<Host>(HostOptions {scratch.Path(), scratch.Path()});
	EXPECT_EQ(host->LoadAddOns(), 2u);
	const std::vector<AddOn*> loaded = host->AddOns().Loaded();
	ASSERT_EQ(loaded.size(), 2u);
	EXPECT_EQ(loaded[0]->File().filename(), "B.addon");
	EXPECT_EQ(loaded[1]->File().filename(), "C.addon");
	EXPECT_NE(loaded[0]->Token(), loaded[1]->Token());
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "Cannot load the add-on A.addon"));
	EXPECT_EQ(host->AddOns().Find("Test Add-On A"), loaded[1]);
}

TEST_F(LifecycleTest, AMissingAddOnsFolderIsReported)
{
	host.reset();
	host = std::make_unique<Host>(HostOptions {scratch.Path() / "nowhere", scratch.Path()});
	EXPECT_EQ(host->LoadAddOns(), 0u);
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "does not exist"));
}

TEST_F(LifecycleTest, TheAddOnsResourcesAreOpenWhileItIsLoaded)
{
	AddOn& addOn = Load(TestAddOnA);
	const VX::ResourceModuleId module = addOn.ResourceModule();
	ASSERT_NE(module, VX::NoResourceModule);
	EXPECT_EQ(addOn.ReadStringList(32502), (std::vector<std::string> {"Status bar A", "Show/Hide"}));
	EXPECT_TRUE(addOn.ReadStringList(31999).empty());
	const VX::ResourceModuleId activeBefore = RSGetActiveModule();
	host->UnloadAddOn(addOn);
	char text[64];
	EXPECT_FALSE(RSGetIndString(text, sizeof text, 32000, 1, module, VX::ByteStringType));
	EXPECT_EQ(RSGetActiveModule(), activeBefore);
}

TEST_F(LifecycleTest, TheHostsEndReleasesWhatIsStillLoaded)
{
	Load(TestAddOnA);
	VX::DebugOutputCapture debug;
	host.reset();
	EXPECT_EQ(debug.Text(), "Test Add-On A unloaded with token 0\n");
}

} // namespace
} // namespace ReferenceHost::Testing
