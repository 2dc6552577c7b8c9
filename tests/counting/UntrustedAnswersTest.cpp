// A run against a careless host: damaged answers (value lists that claim more texts than they
// hold, parameter lists with a piece of a record at the end, texts without their zero, names
// longer than their field, group data too short), failed requests, element types no booking
// place exists for, and counts too large for 32 bits. The run must neither read nor write
// outside a record or handle, must release everything, and must count what it soundly can.
// The lock flags of a part's row, which the group and edit answers decide, are here too.
#include "CountingFixture.hpp"

#include "DG/ModalRecord.hpp"
#include "IO/LocationTable.hpp"
#include "VX/Memory.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

namespace {

using namespace TestProjects;
using ReferenceHost::Project;
namespace Types = HostSdk::ElementTypes;
namespace Selectors = HostSdk::Selectors;
using Flags = std::array<bool, 5>;

constexpr std::int16_t Simple = 1;

std::string DigitsOf(const std::string& text)
{
	std::string digits;
	std::copy_if(text.begin(), text.end(), std::back_inserter(digits), [](char c) { return c >= '0' && c <= '9'; });
	return digits;
}

class UntrustedAnswersTest : public CountingFixture {
protected:
	ProbeRow OnlyRow(int type)
	{
		const ProbeResult result = Result();
		const auto rows = result.sortedRows.find(type);
		if (rows == result.sortedRows.end() || rows->second.size() != 1) {
			ADD_FAILURE() << "not exactly one row of type " << type;
			return {};
		}
		return rows->second.front();
	}

	void CountWithLevel(std::int16_t level)
	{
		OpenPalette();
		probe->setPartLevel(UniqueIdOf(1).c_str(), level);
		Refresh(ProbeSettings {true, true, 0, 0, 3});
	}
};

// Damaged parameter answers that still hold what the level needs: it is written all the same.
TEST_F(UntrustedAnswersTest, DamagedParameterAnswersAreReadAsFarAsTheyHold)
{
	const struct {
		const char* what;
		std::function<void(Project&)> damage;
	} cases[] = {
		{"a value list claiming more texts than it holds",
			[](Project& project) { project.Damage().valueListCountTooLarge = true; }},
		{"a piece of a record at the end of a parameter list (handed back with whole records only)",
			[](Project& project) { project.Damage().parameterHandleRagged = true; }},
		// The element carries only the level parameter: the part's position 1 lies past its list.
		{"an element's list shorter than the part's position of the level: found by name",
			[](Project& project) {
				auto& parameters = project.FindElement(Types::Window, 1)->parameters;
				parameters.erase(parameters.begin());
			}},
	};
	for (const auto& each : cases) {
		SCOPED_TRACE(each.what);
		host.reset();
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder / "addons", folder / "help"});
		LoadProbe();
		Project project = TwoWindows();
		each.damage(project);
		OpenProject(project);
		CountWithLevel(Simple);
		const ProbeRow row = OnlyRow(Types::Window);
		EXPECT_EQ(row.available, (Flags {true, true, true, true, true}));
		EXPECT_EQ(row.lod, Simple);
		EXPECT_EQ(row.polygons, 14);
		EXPECT_EQ(ValueOf({Types::Window, 1}), "Reduced");
		EXPECT_EQ(ValueOf({Types::Window, 2}), "Reduced");
		EXPECT_EQ(HandlesLeft(), 0);
	}
}

TEST_F(UntrustedAnswersTest, TextsWithoutTheirZeroAreReadToTheirFieldsEnd)
{
	LoadProbe();
	Project project = TwoWindows();
	project.AddElement(Plain(Types::Wall, {3}));
	project.Damage().textsUnterminated = true;
	OpenProject(project);
	OpenPalette();
	// An identifier that fills its whole field has no end, so it names no part: the part is
	// reported missing, and its elements still count.
	EXPECT_EQ(DG::GetShownModalDialogCount(), 1u);
	const ProbeResult result = Result();
	EXPECT_TRUE(result.sortedRows.at(Types::Window).empty());
	EXPECT_EQ(result.elementsPerType[Types::Window], 2);
	EXPECT_EQ(result.totalPolygons, 243);
	EXPECT_EQ(HandlesLeft(), 0);
}

TEST_F(UntrustedAnswersTest, AParameterNameThatFillsItsFieldIsMatchedAndWrittenAsTheFieldHoldsIt)
{
	const std::string longName = "levelOfDetailOfTheThreeDimensionalModel";
	const std::string fieldName = longName.substr(0, 32);
	WriteConfiguration(fieldName + " \"Full\" \"Reduced\" \"None\"\n");
	LoadProbe();
	Project project;
	auto part = PartWithLevels(1, "Casement", 4, {100, 20}, 7);
	part.parameters[1].name = longName;
	part.modelParameter = longName;
	project.AddLibraryPart(part);
	project.AddElement(Placed(Types::Window, part));
	project.Damage().parameterNamesOverlong = true;
	OpenProject(project);
	CountWithLevel(Simple);
	EXPECT_EQ(Result().lodParamNames.at(1), fieldName);
	EXPECT_EQ(ValueOf({Types::Window, 1}, longName), "Reduced");
	EXPECT_EQ(OnlyRow(Types::Window).polygons, 7);
	EXPECT_EQ(HandlesLeft(), 0);
}

TEST_F(UntrustedAnswersTest, AFailedValueListRequestOffersNothingAndChangesNothing)
{
	LoadProbe();
	OpenProject(TwoWindows());
	host->Table().ForceSelectorStatus(HostSdk::Entry::Utilities, Selectors::GetParameterValues, HostSdk::StatusRefused);
	CountWithLevel(Simple);
	const ProbeRow row = OnlyRow(Types::Window);
	EXPECT_EQ(row.lod, Simple);
	EXPECT_EQ(row.available, (Flags {false, false, false, true, true}));
	EXPECT_EQ(Result().lodValueTexts.count(1), 0u);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Full");
	EXPECT_EQ(host->Table().SelectorCallCount(HostSdk::Entry::Utilities, Selectors::ChangeParameter), 0u);
}

TEST_F(UntrustedAnswersTest, PartParametersThatCannotBeOpenedLeaveThePartWithoutALevel)
{
	LoadProbe();
	OpenProject(TwoWindows());
	host->Table().ForceSelectorStatus(HostSdk::Entry::Utilities, Selectors::OpenParameters, HostSdk::StatusRefused);
	const std::uint64_t closesBefore =
		host->Table().SelectorCallCount(HostSdk::Entry::Utilities, Selectors::CloseParameters);
	CountWithLevel(Simple);
	EXPECT_EQ(OnlyRow(Types::Window).lod, 5);
	EXPECT_GT(host->Table().SelectorCallCount(HostSdk::Entry::Utilities, Selectors::CloseParameters), closesBefore)
		<< "the list is closed also when opening failed";
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Full");
}

TEST_F(UntrustedAnswersTest, ElementTypesWithoutABookingPlaceAreLeftOutOfEverySum)
{
	LoadProbe();
	Project project;
	project.AddElement(Plain(Types::Wall, {5}));
	project.AddElement(Plain(Types::Wall, {6}));
	project.CurrentSelection().kind = 1;
	project.CurrentSelection().items = {{Types::Wall, 1}, {Types::Wall, 2}};
	OpenProject(project);
	// A host that names types beyond the known ones for the selected items.
	host->Table().ImplementSelector(
		HostSdk::Entry::Utilities, Selectors::ItemCodeToElementType, [](HostSdk::ModuleToken, void*, void* type) {
			static int next = 0;
			*static_cast<std::int32_t*>(type) = (next++ % 2 == 0) ? 34 : -1;
			return HostSdk::StatusOk;
		});
	probe->startLog();
	OpenPalette();
	const std::vector<ProbeCall> calls = probe->stopLog();
	const ProbeResult result = Result();
	EXPECT_EQ(result.totalPolygons, 0);
	for (int type = 0; type < 34; ++type)
		EXPECT_EQ(result.elementsPerType[static_cast<std::size_t>(type)], 0) << type;
	EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const ProbeCall& call) {
		return call.entry == HostSdk::Entry::ElementRead || call.entry == HostSdk::Entry::Element3DInfo;
	})) << "such elements are not asked about";
	EXPECT_EQ(Report()[1], "Total polygons: 0");
}

TEST_F(UntrustedAnswersTest, ASelectionCountBeyondItsItemHandleIsTakenAsFarAsTheHandleHolds)
{
	LoadProbe();
	Project project;
	for (int wall = 0; wall < 3; ++wall)
		project.AddElement(Plain(Types::Wall, {1}));
	OpenProject(project);
	host->Table().Implement<HostSdk::Entry::SelectionRead>(
		[](HostSdk::ModuleToken, HostSdk::SelectionRecord* record, HostSdk::HandleId* items, std::int32_t) {
			HostSdk::ClearRecord(*record);
			record->kind = 1;
			record->itemCount = 1000;
			if (items != nullptr) {
				// Two whole items (wall 1 and wall 3, item code 1 for walls) and a piece of one.
				*items = VX::AllocateHandle(2 * sizeof(HostSdk::SelectionItem) + 5);
				auto* item = static_cast<HostSdk::SelectionItem*>(VX::GetHandleData(*items));
				item[0].itemCode = 1;
				item[0].index = 1;
				item[1].itemCode = 1;
				item[1].index = 3;
			}
			return HostSdk::StatusOk;
		});
	OpenPalette();
	EXPECT_EQ(Result().elementsPerType[Types::Wall], 2);
	EXPECT_EQ(HandlesLeft(), 0);
}

TEST_F(UntrustedAnswersTest, PolygonSumsBeyondThirtyTwoBitsAreHeldAtTheLargestCount)
{
	LoadProbe();
	Project project;
	project.AddElement(Plain(Types::Wall, {2'000'000'000, 2'000'000'000}));
	project.AddElement(Plain(Types::Slab, {2'000'000'000}));
	project.AddElement(Plain(Types::Slab, {2'000'000'000}));
	OpenProject(project);
	OpenPalette();
	const ProbeResult result = Result();
	EXPECT_EQ(result.polygonsPerType[Types::Wall], INT32_MAX);
	EXPECT_EQ(result.polygonsPerType[Types::Slab], INT32_MAX);
	EXPECT_EQ(result.totalPolygons, INT32_MAX);
	EXPECT_EQ(DigitsOf(Report()[1]), "2147483647");
}

TEST_F(UntrustedAnswersTest, AComponentCountBelowZeroCountsAsNone)
{
	LoadProbe();
	Project project;
	project.AddElement(Plain(Types::Beam, {10, 4, 5}));
	OpenProject(project);
	// A project file cannot hold such a count; a careless host can answer one.
	host->CurrentProject()->FindElement(Types::Beam, 1)->components[1] = -4;
	host->CurrentProject()->ModelStructureChanged();
	OpenPalette();
	EXPECT_EQ(Result().polygonsPerType[Types::Beam], 15);
}

TEST_F(UntrustedAnswersTest, FailedComponentsAndAFailed3DInfoStillCountTheElement)
{
	LoadProbe();
	Project project;
	const auto door = project.AddLibraryPart(PlainPart(1, "Door", 5, {10, 20}));
	project.AddElement(Placed(Types::Door, door));
	OpenProject(project);
	host->Table().ForceStatus(HostSdk::Entry::Element3DInfo, HostSdk::StatusRefused);
	OpenPalette();
	const ProbeRow row = OnlyRow(Types::Door);
	EXPECT_EQ(row.objects, 1);
	EXPECT_EQ(row.polygons, 0);
	EXPECT_EQ(Result().elementsPerType[Types::Door], 1);
}

TEST_F(UntrustedAnswersTest, ALocationLeftInAFailedLibraryPartAnswerIsReleased)
{
	LoadProbe();
	OpenProject(TwoWindows());
	// A careless host publishes the part's file location and then refuses the answer.
	const auto careless = [](HostSdk::LibPartRecord* record) {
		record->location = IO::PublishLocation(IO::Location("/Library/Casement.part"));
		return HostSdk::StatusBadIndex;
	};
	const struct {
		const char* what;
		int entry;
		std::function<void(ReferenceHost::HostFunctionTable&)> makeCareless;
	} cases[] = {
		{"search", HostSdk::Entry::LibPartSearch,
			[&](ReferenceHost::HostFunctionTable& table) {
				table.Implement<HostSdk::Entry::LibPartSearch>(
					[&](HostSdk::ModuleToken, HostSdk::LibPartRecord* record, bool) { return careless(record); });
			}},
		{"read", HostSdk::Entry::LibPartRead,
			[&](ReferenceHost::HostFunctionTable& table) {
				table.Implement<HostSdk::Entry::LibPartRead>(
					[&](HostSdk::ModuleToken, HostSdk::LibPartRecord* record) { return careless(record); });
			}},
	};
	for (const auto& each : cases) {
		SCOPED_TRACE(each.what);
		each.makeCareless(host->Table());
		const std::size_t locationsBefore = IO::LiveLocationCount();
		const std::uint64_t callsBefore = host->Table().CallCount(each.entry);
		CountWithLevel(Simple);
		ClosePalette();
		EXPECT_GT(host->Table().CallCount(each.entry), callsBefore);
		EXPECT_EQ(IO::LiveLocationCount(), locationsBefore) << "the location was left published";
	}
}

TEST_F(UntrustedAnswersTest, AFailedDataRecordReadLeavesTheRecordAlone)
{
	LoadProbe();
	Project project;
	project.AddElement(Plain(Types::Wall, {1}));
	OpenProject(project);
	host->CurrentProject()->DataRecordBytes()[4] = 0x33;
	host->Table().ForceSelectorStatus(HostSdk::Entry::Database, Selectors::GetDataRecord, HostSdk::StatusRefused);
	OpenPalette();
	EXPECT_EQ(host->Table().SelectorCallCount(HostSdk::Entry::Database, Selectors::ChangeDataRecord), 0u);
	EXPECT_EQ(host->CurrentProject()->DataRecordBytes()[4], 0x33);
	EXPECT_EQ(Result().totalPolygons, 1);
}

// ---- Lock flags ------------------------------------------------------------------------------

class LockFlagsTest : public UntrustedAnswersTest {
protected:
	// Windows 1 and 2 of part 1; group 1 is a protecting group (mode 1, protected, protection
	// id 9) holding window 1; group 2 is not protecting.
	Project Grouped()
	{
		Project project = TwoWindows();
		project.AddElement(ProtectingGroup(9));
		ReferenceHost::Element loose;
		loose.type = Types::Group;
		project.AddElement(loose);
		return project;
	}
};

TEST_F(LockFlagsTest, APartIsLockedOnlyWhileEveryElementIsLocked)
{
	LoadProbe();
	Project project = Grouped();
	project.FindElement(Types::Window, 1)->groupIndex = 1;
	project.FindElement(Types::Window, 2)->groupIndex = 1;
	project.FindElement(Types::Window, 1)->editable = false;
	project.FindElement(Types::Window, 2)->editable = false;
	OpenProject(project);
	OpenPalette();
	EXPECT_EQ(OnlyRow(Types::Window).lockFlags, 3u);

	host->CurrentProject()->FindElement(Types::Window, 2)->groupIndex = 2;
	Refresh();
	EXPECT_EQ(OnlyRow(Types::Window).lockFlags, 2u) << "window 2 is in a group that does not protect";

	host->CurrentProject()->FindElement(Types::Window, 1)->editable = true;
	Refresh();
	EXPECT_EQ(OnlyRow(Types::Window).lockFlags, 0u);
	EXPECT_EQ(HandlesLeft(), 0) << "every group memo was released";
}

// Windows 1 and 2 in a group that does not soundly protect them: group data too short, no
// protection id, or a group that is not there (a project file cannot name one; a host can).
TEST_F(LockFlagsTest, AGroupThatDoesNotSoundlyProtectDoesNotLock)
{
	const struct {
		const char* what;
		std::function<void(Project&)> damage;
		std::int32_t group;
	} cases[] = {
		{"data shorter than two words", [](Project& project) { project.Damage().groupDataTooShort = true; }, 1},
		{"no protection id", [](Project& project) { project.FindElement(Types::Group, 1)->protectionId = 0; }, 1},
		{"a group that cannot be read", [](Project&) {}, 7},
	};
	for (const auto& each : cases) {
		SCOPED_TRACE(each.what);
		host.reset();
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder / "addons", folder / "help"});
		LoadProbe();
		Project project = Grouped();
		each.damage(project);
		OpenProject(project);
		host->CurrentProject()->FindElement(Types::Window, 1)->groupIndex = each.group;
		host->CurrentProject()->FindElement(Types::Window, 2)->groupIndex = each.group;
		OpenPalette();
		EXPECT_EQ(OnlyRow(Types::Window).lockFlags & 1u, 0u);
		EXPECT_EQ(HandlesLeft(), 0);
	}
}

} // namespace
