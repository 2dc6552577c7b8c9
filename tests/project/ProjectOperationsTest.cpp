// The host operations that answer add-ons from the project, called through the function
// table with a loaded add-on's token and the SDK's records, as an add-on calls them. Every
// handle and location an answer leaves is released here, and the fixture checks that none
// is left alive.
#include "ParameterRecords.hpp"
#include "ProjectTestSupport.hpp"

#include "IO/LocationTable.hpp"
#include "VX/Memory.hpp"

#include <cstring>

namespace ReferenceHost::Testing {
namespace {

namespace Entry = HostSdk::Entry;
namespace Selectors = HostSdk::Selectors;
using HostSdk::StatusBadIndex;
using HostSdk::StatusBadParameter;
using HostSdk::StatusRefused;

class ProjectOperationsTest : public ProjectHostTest {
protected:
	void SetUp() override
	{
		ProjectHostTest::SetUp();
		if (!HasFatalFailure())
			Open(SmallProjectText);
	}

	// 'OPAR' with the owner, then 'GPAR': the list handle (0 when either failed).
	VX::HandleId OpenAndGet(std::int32_t part, std::int32_t type = 0, std::int32_t index = 0)
	{
		HostSdk::ParameterOwnerRecord owner {};
		owner.libPartIndex = part;
		owner.elementType = type;
		owner.elementIndex = index;
		if (Ask(Entry::Utilities, Selectors::OpenParameters, &owner) != 0)
			return 0;
		HostSdk::ParameterListRecord list {};
		if (Ask(Entry::Utilities, Selectors::GetParameters, &list) != 0)
			return 0;
		return list.parameters;
	}

	HostStatus Close() { return Ask(Entry::Utilities, Selectors::CloseParameters, nullptr); }
};

// ---- Refusals every operation shares -----------------------------------------------------

TEST_F(ProjectOperationsTest, AStrangerOrAHostWithoutProjectIsRefused)
{
	std::int32_t count = 5;
	EXPECT_EQ(CallSlot<Entry::ElementCount>(host->Table().Slots(), HostSdk::ModuleToken {0}, 1, &count), StatusRefused);
	EXPECT_FALSE(CallSlot<Entry::ElementFilter>(host->Table().Slots(), HostSdk::ModuleToken {12345}, 1, 1, 2u));
	ASSERT_TRUE(host->CloseProject());
	EXPECT_EQ(Call<Entry::ElementCount>(1, &count), StatusRefused);
	HostSdk::StoryRecord stories {};
	EXPECT_EQ(Ask(Entry::Environment, Selectors::GetStoryInfo, &stories), StatusRefused);
	EXPECT_EQ(stories.dataHandle, 0u) << "nothing to release after a refusal";
	HostSdk::LibPartRecord part {};
	part.index = 1;
	EXPECT_EQ(Call<Entry::LibPartRead>(&part), StatusRefused);
	HostSdk::SelectionRecord selection {};
	EXPECT_EQ(Call<Entry::SelectionRead>(&selection, nullptr, 0), StatusRefused);
}

TEST_F(ProjectOperationsTest, AnElementThatIsNotThereIsABadIndex)
{
	HostSdk::ElementRecord record {};
	record.type = 1;
	record.index = 9999;
	HostSdk::ElementMemo memo {};
	HostSdk::Element3DInfo info {};
	EXPECT_EQ(Call<Entry::ElementRead>(&record), StatusBadIndex);
	EXPECT_EQ(Call<Entry::ElementMemoRead>(1, 9999, &memo), StatusBadIndex);
	EXPECT_EQ(Call<Entry::Element3DInfo>(1, 9999, &info), StatusBadIndex);
}

TEST_F(ProjectOperationsTest, NullRecordsAreRefused)
{
	EXPECT_EQ(Call<Entry::ElementCount>(1, static_cast<std::int32_t*>(nullptr)), StatusBadParameter);
	EXPECT_EQ(Call<Entry::ElementRead>(static_cast<HostSdk::ElementRecord*>(nullptr)), StatusBadParameter);
	EXPECT_EQ(Call<Entry::ElementMemoRead>(1, 1, static_cast<HostSdk::ElementMemo*>(nullptr)), StatusBadParameter);
	EXPECT_EQ(Call<Entry::Element3DInfo>(1, 1, static_cast<HostSdk::Element3DInfo*>(nullptr)), StatusBadParameter);
	EXPECT_EQ(Call<Entry::Component3DRead>(static_cast<HostSdk::Component3DRecord*>(nullptr)), StatusBadParameter);
	EXPECT_EQ(Call<Entry::LibPartSearch>(static_cast<HostSdk::LibPartRecord*>(nullptr), false), StatusBadParameter);
	EXPECT_EQ(
		Call<Entry::SelectionRead>(static_cast<HostSdk::SelectionRecord*>(nullptr), nullptr, 0), StatusBadParameter);
	for (const std::uint32_t selector : {Selectors::GetStoryInfo, Selectors::ChangeStory})
		EXPECT_EQ(Ask(Entry::Environment, selector, nullptr), StatusBadParameter);
	for (const std::uint32_t selector :
		{Selectors::GetDataRecord, Selectors::ChangeDataRecord, Selectors::GetWindowInfo})
		EXPECT_EQ(Ask(Entry::Database, selector, nullptr), StatusBadParameter);
	EXPECT_EQ(Ask(Entry::Window, Selectors::ChangeWindow, nullptr), StatusBadParameter);
	for (const std::uint32_t selector : {Selectors::OpenParameters, Selectors::GetParameters,
			 Selectors::ChangeParameter, Selectors::GetParameterValues, Selectors::ItemCodeToElementType})
		EXPECT_EQ(Ask(Entry::Utilities, selector, nullptr), StatusBadParameter) << selector;
}

// ---- Stories ---------------------------------------------------------------------------------

TEST_F(ProjectOperationsTest, TheStoriesTheirNamesAndChangingTheCurrentOne)
{
	HostSdk::StoryRecord record {};
	ASSERT_EQ(Ask(Entry::Environment, Selectors::GetStoryInfo, &record), 0);
	ASSERT_EQ(VX::GetHandleSize(record.dataHandle), 4u * 64u);
	EXPECT_STREQ(static_cast<const char*>(VX::GetHandleData(record.dataHandle)) + 3 * 64 + 4, "Attic");
	EXPECT_TRUE(VX::FreeHandle(record.dataHandle));

	HostSdk::StoryChangeRecord change {};
	change.story = 3;
	EXPECT_EQ(Ask(Entry::Environment, Selectors::ChangeStory, &change), StatusBadIndex);
	change.story = -1;
	change.kind = 1;
	EXPECT_EQ(Ask(Entry::Environment, Selectors::ChangeStory, &change), StatusBadParameter);
	change.kind = 0;
	ASSERT_EQ(Ask(Entry::Environment, Selectors::ChangeStory, &change), 0);
	EXPECT_EQ(CurrentProject().StoryList().active, -1);
}

// ---- Library parts ---------------------------------------------------------------------------

TEST_F(ProjectOperationsTest, SearchingAPartByItsIdentifier)
{
	HostSdk::LibPartRecord record {};
	std::strcpy(record.uniqueId, "{S-3}");
	ASSERT_EQ(Call<Entry::LibPartSearch>(&record, false), 0);
	EXPECT_EQ(record.index, 3);
	EXPECT_STREQ(record.name, "Stair Part");
	EXPECT_TRUE(IO::ReleaseLocation(record.location));

	HostSdk::LibPartRecord missing {};
	std::strcpy(missing.uniqueId, "{G-2}");
	EXPECT_EQ(Call<Entry::LibPartSearch>(&missing, false), StatusBadIndex) << "a missing part is not found";
	HostSdk::LibPartRecord unknown {};
	std::strcpy(unknown.uniqueId, "{nobody}");
	EXPECT_EQ(Call<Entry::LibPartSearch>(&unknown, true), StatusBadIndex);
	EXPECT_TRUE(host->SessionTranscript().Contains(
		TranscriptKind::Message, "The library part {nobody} is not in the loaded libraries"))
		<< "asked with warnings, the host tells the person";

	// An identifier that fills its field without a zero is read to the field's end only.
	HostSdk::LibPartRecord full {};
	std::memset(full.uniqueId, 'x', sizeof full.uniqueId);
	EXPECT_EQ(Call<Entry::LibPartSearch>(&full, false), StatusBadIndex);
}

// ---- The selection ---------------------------------------------------------------------------

TEST_F(ProjectOperationsTest, NothingSelectedAnswersTheEmptySelectionStatus)
{
	CurrentProject().CurrentSelection() = Selection {};
	HostSdk::SelectionRecord record {};
	record.markerHandle = 77;
	HostSdk::HandleId items = 99;
	EXPECT_EQ(Call<Entry::SelectionRead>(&record, &items, 0), HostSdk::StatusEmptySelection);
	EXPECT_EQ(record.kind, 0);
	EXPECT_EQ(record.itemCount, 0);
	EXPECT_EQ(record.markerHandle, 0u);
	EXPECT_EQ(items, 0u);
}

TEST_F(ProjectOperationsTest, SelectingAndDeselectingItems)
{
	const auto handleOf = [](std::vector<HostSdk::SelectionItem> items) {
		const VX::HandleId handle = VX::AllocateHandle(items.size() * sizeof(HostSdk::SelectionItem));
		std::memcpy(VX::GetHandleData(handle), items.data(), items.size() * sizeof(HostSdk::SelectionItem));
		return handle;
	};
	const VX::HandleId current = handleOf({{1, 1, 1, {}}, {10, 2, 0, {}}});
	ASSERT_EQ(Call<Entry::SelectItems>(current, 2, 0), 0);
	EXPECT_EQ(CurrentProject().CurrentSelection().kind, 0) << "everything deselected";
	EXPECT_TRUE(CurrentProject().CurrentSelection().items.empty());

	const VX::HandleId wanted = handleOf({{13, 1, 1, {}}, {10, 1, 0, {}}, {13, 1, 1, {}}});
	ASSERT_EQ(Call<Entry::SelectItems>(wanted, 3, 1), 0);
	EXPECT_EQ(CurrentProject().CurrentSelection().kind, 1);
	EXPECT_EQ(CurrentProject().CurrentSelection().items, (std::vector<ElementId> {{6, 1}, {4, 1}}));

	const VX::HandleId bad = handleOf({{1, 2, 1, {}}, {2, 1, 0, {}}});
	EXPECT_EQ(Call<Entry::SelectItems>(bad, 2, 1), StatusBadParameter) << "item code 2 is no code";
	const VX::HandleId deleted = handleOf({{1, 3, 1, {}}});
	EXPECT_EQ(Call<Entry::SelectItems>(deleted, 1, 1), StatusBadIndex);
	EXPECT_EQ(Call<Entry::SelectItems>(deleted, 2, 1), StatusBadParameter) << "more items than the handle holds";
	EXPECT_EQ(Call<Entry::SelectItems>(deleted, -1, 1), StatusBadParameter);
	EXPECT_EQ(Call<Entry::SelectItems>(HostSdk::HandleId {0}, 1, 1), StatusBadParameter);
	EXPECT_EQ(CurrentProject().CurrentSelection().items.size(), 2u) << "a refused call changes nothing";
	for (const VX::HandleId handle : {current, wanted, bad, deleted})
		EXPECT_EQ(VX::GetHandleSize(handle) % sizeof(HostSdk::SelectionItem), 0u) << "the handles stay the caller's";
	for (const VX::HandleId handle : {current, wanted, bad, deleted})
		EXPECT_TRUE(VX::FreeHandle(handle));
}

// ---- Parameters and the element change -----------------------------------------------------

TEST_F(ProjectOperationsTest, AnOpenListBelongsToItsAddOnAndEndsWithItsProject)
{
	const VX::HandleId list = OpenAndGet(0, 4, 2);
	ASSERT_NE(list, 0u);
	ReleaseParameterListHandle(list);
	const ParameterSession* session = host->ProjectAnswers().OpenParameters(token);
	ASSERT_NE(session, nullptr);
	EXPECT_EQ(session->owner, "Window:2");
	EXPECT_EQ(host->ProjectAnswers().OpenParameters(token + 1), nullptr);

	Open(SmallProjectText);
	EXPECT_EQ(host->ProjectAnswers().OpenParameters(token), nullptr) << "another project";
	HostSdk::ParameterListRecord record {};
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::GetParameters, &record), StatusRefused);
}

TEST_F(ProjectOperationsTest, OpeningParametersOfWhatCannotHaveThem)
{
	EXPECT_EQ(OpenAndGet(2), 0u) << "a missing part";
	EXPECT_EQ(OpenAndGet(9), 0u) << "no such part";
	HostSdk::ParameterOwnerRecord wall {};
	wall.elementType = 1;
	wall.elementIndex = 1;
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::OpenParameters, &wall), StatusBadParameter);
	HostSdk::ParameterOwnerRecord nothing {};
	nothing.elementType = 4;
	nothing.elementIndex = 9;
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::OpenParameters, &nothing), StatusBadIndex);
	EXPECT_EQ(Close(), 0);
	HostSdk::ParameterListRecord list {};
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::GetParameters, &list), StatusRefused) << "nothing is open";
	EXPECT_EQ(list.parameters, 0u);
}

TEST_F(ProjectOperationsTest, ChangingANumberAndRefusingBadValues)
{
	const VX::HandleId list = OpenAndGet(1);
	ASSERT_NE(list, 0u);
	ReleaseParameterListHandle(list);
	HostSdk::ChangeParameterRequest change {};
	std::strcpy(change.name, "width");
	change.newValue = "2.5";
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::ChangeParameter, &change), 0);
	change.newValue = "wide";
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::ChangeParameter, &change), StatusBadParameter);
	std::strcpy(change.name, "panes");
	change.newValue = "one";
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::ChangeParameter, &change), StatusBadParameter) << "an array";
	std::strcpy(change.name, "colour");
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::ChangeParameter, &change), StatusBadParameter);
	std::strcpy(change.name, "lod");
	const std::string tooLong(300, 'x');
	change.newValue = tooLong.c_str();
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::ChangeParameter, &change), StatusBadParameter);
	change.newValue = nullptr;
	EXPECT_EQ(Ask(Entry::Utilities, Selectors::ChangeParameter, &change), StatusBadParameter);
	EXPECT_EQ(Close(), 0);
	EXPECT_EQ(FindParameter(CurrentProject().FindLibraryPart(1)->parameters, "width")->number, 1.5)
		<< "the part itself never changes";
}

TEST_F(ProjectOperationsTest, TheElementChangeRefusesWhatItCannotTakeAndMarksWhatItTakes)
{
	const auto change = [this](std::int32_t type, std::int32_t index, HostSdk::HandleId parameters) {
		HostSdk::ElementRecord element {};
		element.type = type;
		element.index = index;
		HostSdk::ElementMemo memo {};
		memo.parameters = parameters;
		return Call<Entry::ElementChange>(
			&element, static_cast<const HostSdk::ElementRecord*>(nullptr), &memo, HostSdk::MemoMaskParameters, 1);
	};
	EXPECT_EQ(change(6, 1, 0), StatusRefused) << "the stair refuses changes";
	EXPECT_EQ(change(4, 9, 0), StatusBadIndex);

	Parameter unknown;
	unknown.name = "colour";
	Parameter wrongType;
	wrongType.name = "width";
	wrongType.text = "wide";
	for (const Parameter& parameter : {unknown, wrongType}) {
		const VX::HandleId list = MakeParameterListHandle({parameter}, AnswerDamage {});
		EXPECT_EQ(change(4, 2, list), StatusBadParameter) << parameter.name;
		ReleaseParameterListHandle(list);
	}
	const VX::HandleId ragged = VX::AllocateHandle(sizeof(HostSdk::ParameterRecord) + 10);
	EXPECT_EQ(change(4, 2, ragged), StatusBadParameter) << "a handle of no whole number of records";
	VX::FreeHandle(ragged);
	EXPECT_FALSE(CurrentProject().IsModified());

	const VX::HandleId list = OpenAndGet(0, 4, 2);
	EXPECT_EQ(change(4, 2, list), 0);
	ReleaseParameterListHandle(list);
	EXPECT_EQ(Close(), 0);
	EXPECT_TRUE(CurrentProject().IsModified()) << "an accepted change";
}

} // namespace
} // namespace ReferenceHost::Testing
