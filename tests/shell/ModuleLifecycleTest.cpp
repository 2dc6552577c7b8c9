// Loading, the exports, the four entry points and unloading of the real module, driven by the
// reference host: the export record, the entry points before the table, identification with
// the module's own resources, the menu registration, initialisation and its failures when the
// host lacks the handler installation entries, and the abnormal-termination line.
#include "ModuleHost.hpp"

#include "DG/Help.hpp"
#include "HostSdk/HostApi.hpp"
#include "VX/DebugOutput.hpp"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace HostSdk;
using ReferenceHost::AddOn;

class ModuleLifecycleTest : public ModuleHostTest {};

TEST_F(ModuleLifecycleTest, StartsThroughTheHostsWholeLifecycle)
{
	AddOn& addOn = LoadModule();
	EXPECT_TRUE(addOn.Initialized());
	EXPECT_EQ(addOn.Name(), "Facetally");
	EXPECT_EQ(addOn.Description(), "Counts the polygons of the 3D model by element type and library part");

	const ReferenceHost::MenuItem& item = MenuItemOf(addOn);
	EXPECT_EQ(item.resourceText, "Facetally^E3");
	EXPECT_EQ(item.text, "Facetally");
	EXPECT_EQ(item.promptStringListId, 32502);
	EXPECT_EQ(item.placement, 12u);
	EXPECT_EQ(item.registrationFlags, 0u);
	EXPECT_FALSE(item.Checked());
	EXPECT_EQ(host->Menus().ItemsOf(addOn).size(), 1u);

	EXPECT_NE(host->Menus().HandlerOf(addOn, 32500), nullptr);
	EXPECT_NE(host->ModuleData().MergeHandlerOf(addOn), nullptr);
	EXPECT_EQ(Calls(Entry::MenuRegistration), 1u);
	EXPECT_EQ(Calls(Entry::MenuHandlerInstallation), 1u);
	EXPECT_EQ(Calls(Entry::MergeHandlerInstallation), 1u);
	EXPECT_EQ(SelectorCalls(Entry::Environment, Selectors::GetSpecialFolder), 1u);
	// Nothing else is built at start-up: no palette, no project events.
	EXPECT_EQ(Calls(Entry::EventRegistration), 0u);
}

TEST_F(ModuleLifecycleTest, ExportRecordCarriesTheVersionAndEntryPointsAndNothingElse)
{
	AddOn& addOn = OpenModule();
	ASSERT_EQ(host->HandOverTable(addOn), 0);
	// The host fills the record with 0xFF bytes first, so every byte the module did not
	// clear shows.
	addOn.ReadExportRecord();
	const ExportRecord& record = addOn.Exports();
	EXPECT_EQ(record.version, 0xA0001u);
	EXPECT_NE(record.identifyAddOn, nullptr);
	EXPECT_NE(record.registerMenuCommand, nullptr);
	EXPECT_NE(record.initializeAddOn, nullptr);
	EXPECT_NE(record.releaseAddOn, nullptr);
	const auto bytes = addOn.ExportRecordBytes();
	ASSERT_EQ(bytes.size(), 80u);
	for (std::size_t index = 4; index < 8; ++index)
		EXPECT_EQ(bytes[index], std::byte {0}) << "padding byte " << index;
	for (std::size_t word = 5; word < 15; ++word) {
		std::uint32_t value = 0xFFFFFFFFu;
		std::memcpy(&value, bytes.data() + offsetof(ExportRecord, reserved) + (word - 5) * 4, 4);
		EXPECT_EQ(value, 0u) << "word " << word;
	}
}

TEST_F(ModuleLifecycleTest, EntryPointsRefuseToWorkBeforeTheTableIsSet)
{
	AddOn& addOn = OpenModule();
	addOn.ReadExportRecord(); // the record needs no table
	ASSERT_EQ(addOn.Exports().version, 0xA0001u);

	EXPECT_EQ(addOn.Identify(), 0);
	EXPECT_FALSE(addOn.Identified());
	EXPECT_STREQ(addOn.Environment().addOnName, "");
	EXPECT_STREQ(addOn.Environment().addOnDescription, "");
	EXPECT_EQ(addOn.RegisterMenuCommand(), StatusTableNotSet);
	EXPECT_EQ(addOn.Initialize(), StatusTableNotSet);
	EXPECT_EQ(addOn.Release(), StatusTableNotSet);

	EXPECT_EQ(host->Table().TotalCallCount(), 0u);
	EXPECT_TRUE(host->Menus().Items().empty());

	// Initialisation was refused, so no token was kept: unloading is orderly.
	const VX::DebugOutputCapture debug;
	host->UnloadAddOn(addOn, false);
	EXPECT_EQ(debug.Text(), "");
}

TEST_F(ModuleLifecycleTest, IdentifiesItselfFromItsOwnResourcesWhateverModuleIsActive)
{
	// The test program carries a string list 32000 of its own ("Impostor"); it stays active
	// through the module's loading and identification, and is not what the module reads.
	const VX::ResourceModuleId impostor = RSAddModule(nullptr);
	ASSERT_NE(impostor, VX::NoResourceModule);
	ASSERT_EQ(RSGetActiveModule(), impostor);

	AddOn& addOn = OpenModule();
	EXPECT_EQ(RSGetActiveModule(), impostor) << "loading the module changed the active resource module";
	ASSERT_EQ(host->HandOverTable(addOn), 0);
	addOn.ReadExportRecord();
	EXPECT_EQ(addOn.Identify(), 1);
	EXPECT_EQ(RSGetActiveModule(), impostor) << "identification left the module's resources active";
	EXPECT_STREQ(addOn.Environment().addOnName, "Facetally");
	EXPECT_STREQ(
		addOn.Environment().addOnDescription, "Counts the polygons of the 3D model by element type and library part");

	ASSERT_TRUE(RSSetActiveModule(VX::NoResourceModule));
	EXPECT_EQ(addOn.Identify(), 1);
	EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule);
	EXPECT_STREQ(addOn.Environment().addOnName, "Facetally");
	RSRemoveModule(impostor);
}

// Steps of the host's start-up up to the initialisation, made one by one.
HostStatus InitializeStepByStep(ReferenceHost::Host& host, AddOn& addOn)
{
	EXPECT_EQ(host.HandOverTable(addOn), 0);
	addOn.ReadExportRecord();
	EXPECT_EQ(addOn.Identify(), 1);
	EXPECT_EQ(addOn.RegisterMenuCommand(), 0);
	return addOn.Initialize();
}

// The host lacks or refuses a handler installation: the initialisation stops there, and the
// module, which kept its token first, must be released before it is unloaded.
TEST_F(ModuleLifecycleTest, InitializationStopsWhereTheHostCannotInstallAHandler)
{
	const struct {
		const char* what;
		int entry;
		bool empty;
		HostStatus answer;
		std::uint64_t menuHandlerCalls;
	} cases[] = {
		{"no menu handler entry", Entry::MenuHandlerInstallation, true, StatusMissingEntry, 0},
		{"a refused menu handler", Entry::MenuHandlerInstallation, false, StatusRefused, 1},
		{"no merge handler entry", Entry::MergeHandlerInstallation, true, StatusMissingEntry, 1},
	};
	for (const auto& row : cases) {
		for (const bool released : {true, false}) {
			SCOPED_TRACE(row.what + std::string(released ? ", released" : ", not released"));
			StartHost();
			if (row.empty)
				host->Table().EmptyEntry(row.entry);
			else
				host->Table().ForceStatus(row.entry, row.answer);
			AddOn& addOn = OpenModule();
			EXPECT_EQ(InitializeStepByStep(*host, addOn), row.answer);
			EXPECT_EQ(Calls(Entry::MenuHandlerInstallation), row.menuHandlerCalls);
			EXPECT_EQ(Calls(Entry::MergeHandlerInstallation), 0u);
			EXPECT_EQ(SelectorCalls(Entry::Environment, Selectors::GetSpecialFolder), 0u);
			if (released) {
				EXPECT_EQ(addOn.Release(), 0);
			}
			const VX::DebugOutputCapture debug;
			host->UnloadAddOn(addOn, false);
			EXPECT_EQ(debug.Text().rfind("Abnormal add-on termination (\"", 0) == 0, !released) << debug.Text();
		}
	}
}

TEST_F(ModuleLifecycleTest, TheHostGivesUpAModuleThatCannotInstallItsHandlers)
{
	host->Table().EmptyEntry(Entry::MergeHandlerInstallation);
	EXPECT_EQ(host->LoadAddOn(ModuleFile()), nullptr);
	const VX::DebugOutputCapture debug;
	host.reset();
	EXPECT_EQ(debug.Text(), "") << "the host released the module before unloading it";
}

// The words of a binary resource of the module, none when its size is not the one expected.
std::vector<std::uint32_t> Words(const AddOn& addOn, VX::ResourceType type, std::int32_t id, std::uint32_t expectedSize)
{
	std::uint32_t size = 0;
	const auto* words = static_cast<const std::uint32_t*>(RSLoadResource(type, id, addOn.ResourceModule(), &size));
	if (words == nullptr || size != expectedSize)
		return {};
	return std::vector<std::uint32_t>(words, words + size / 4);
}

std::optional<DG::HelpLocation> ModuleHelpLocation()
{
	for (const DG::HelpLocation& location : DG::GetAdditionalHelpLocations())
		if (location.developerId == 0x46544241u && location.localId == 1u)
			return location;
	return std::nullopt;
}

TEST_F(ModuleLifecycleTest, RegistersTheHostsHelpFolderUnderItsIdentityUntilReleased)
{
	AddOn& addOn = LoadModule();
	const std::optional<DG::HelpLocation> help = ModuleHelpLocation();
	ASSERT_TRUE(help.has_value());
	EXPECT_EQ(std::string(help->location.ToPath().ToCStr()), host->Options().helpFolder.string());
	// The pair is the module identity the module carries in its resources.
	EXPECT_EQ(Words(addOn, VX::ResourceTypes::ModuleIdentity, 32500, 12),
		(std::vector<std::uint32_t> {8, help->developerId, help->localId}));

	ASSERT_EQ(addOn.Release(), 0);
	EXPECT_FALSE(ModuleHelpLocation().has_value());
}

TEST_F(ModuleLifecycleTest, CarriesTheResourcesTheHostReads)
{
	AddOn& addOn = OpenModule();
	EXPECT_EQ(addOn.ReadStringList(32000),
		(std::vector<std::string> {
			"Facetally", "Counts the polygons of the 3D model by element type and library part"}));
	EXPECT_EQ(addOn.ReadStringList(32500), std::vector<std::string> {"Facetally^E3"});
	EXPECT_EQ(addOn.ReadStringList(32502), (std::vector<std::string> {"Status bar string #1", "Show/Hide"}));

	const std::vector<std::uint32_t> numbers = Words(addOn, VX::ResourceTypes::ModuleNumbers, 18000, 20);
	ASSERT_EQ(numbers.size(), 5u);
	EXPECT_EQ(numbers[0], 16u);
}

TEST_F(ModuleLifecycleTest, HelpFolderFailuresDoNotStopInitialization)
{
	host->Table().ForceSelectorStatus(Entry::Environment, Selectors::GetSpecialFolder, StatusRefused);
	AddOn& first = LoadModule();
	EXPECT_TRUE(first.Initialized());
	host->UnloadAddOn(first);

	host->Table().ClearAllForcedStatuses();
	host->Table().EmptyEntry(Entry::Environment);
	AddOn& second = LoadModule();
	EXPECT_TRUE(second.Initialized());
}

TEST_F(ModuleLifecycleTest, MenuRegistrationPassesTheHostsStatusBack)
{
	host->Table().ForceStatus(Entry::MenuRegistration, StatusRefused);
	AddOn& addOn = OpenModule();
	ASSERT_EQ(host->HandOverTable(addOn), 0);
	addOn.ReadExportRecord();
	EXPECT_EQ(addOn.RegisterMenuCommand(), StatusRefused);

	host->Table().ClearAllForcedStatuses();
	host->Table().EmptyEntry(Entry::MenuRegistration);
	ASSERT_EQ(host->HandOverTable(addOn), 0);
	EXPECT_EQ(addOn.RegisterMenuCommand(), StatusMissingEntry);
}

class AbnormalTerminationTest : public ModuleHostTest {};

TEST_F(AbnormalTerminationTest, OnlyUnloadingWithoutReleaseWritesTheModulePath)
{
	{
		AddOn& released = LoadModule();
		const VX::DebugOutputCapture debug;
		host->UnloadAddOn(released, true);
		EXPECT_EQ(debug.Text(), "");
	}
	AddOn& addOn = LoadModule();
	const VX::DebugOutputCapture debug;
	host->UnloadAddOn(addOn, false);

	const std::string prefix = "Abnormal add-on termination (\"";
	const std::string suffix = "\")\n";
	const std::string& text = debug.Text();
	ASSERT_GT(text.size(), prefix.size() + suffix.size()) << text;
	EXPECT_EQ(text.substr(0, prefix.size()), prefix);
	EXPECT_EQ(text.substr(text.size() - suffix.size()), suffix);
	const std::string path = text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
	EXPECT_TRUE(std::filesystem::path(path).is_absolute()) << path;
	EXPECT_TRUE(std::filesystem::equivalent(path, ModuleFile())) << path;
}

// A host that hands the module null where a table or record belongs gets a refusal, never
// a crash.
class HostMisuseTest : public ModuleHostTest {};

TEST_F(HostMisuseTest, ANullTableIsRefusedAndTheEntryPointsKeepRefusing)
{
	AddOn& addOn = OpenModule();
	EXPECT_EQ(addOn.HandOverTable(nullptr), StatusBadParameter);
	addOn.ReadExportRecord();
	EXPECT_EQ(addOn.RegisterMenuCommand(), StatusTableNotSet);
	EXPECT_EQ(addOn.Initialize(), StatusTableNotSet);
}

TEST_F(HostMisuseTest, NullRecordsAreIgnored)
{
	AddOn& addOn = LoadModule();
	const auto getExports = reinterpret_cast<GetExportedFuncAddrsFunction>(addOn.Symbol(GetExportedFuncAddrsName));
	ASSERT_NE(getExports, nullptr);
	getExports(nullptr);

	EXPECT_EQ(addOn.Exports().identifyAddOn(nullptr), 0);

	const MenuCommandHandler handler = host->Menus().HandlerOf(addOn, 32500);
	ASSERT_NE(handler, nullptr);
	EXPECT_EQ(handler(nullptr), 0);
	EXPECT_FALSE(PaletteShown(addOn));
}

} // namespace
