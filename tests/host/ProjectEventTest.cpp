// Project events: the codes each host action raises, delivery by mask, and registrations
// that change while an event is delivered.
#include "TestHost.hpp"

namespace ReferenceHost::Testing {
namespace {

namespace Events = HostSdk::ProjectEvents;

class ProjectEventTest : public HostTest {
protected:
	TestAddOnControl& LoadRegistered(const std::filesystem::path& file, std::uint32_t mask)
	{
		return ControlOf(Load(file, [mask](TestAddOnControl& control) {
			control.registerEventsAtInitialize = true;
			control.eventMask = mask;
		}));
	}
};

TEST_F(ProjectEventTest, EachActionRaisesItsCodes)
{
	TestAddOnControl& control = LoadRegistered(TestAddOnA, Events::AllMask);
	ASSERT_TRUE(host->NewProject());
	EXPECT_EQ(control.events, (std::vector<std::int32_t> {Events::New}));
	EXPECT_FALSE(host->SaveProject()) << "an untitled project is saved under a name first";
	ASSERT_TRUE(host->SaveProjectAs(scratch.Path() / "first.json"));
	ASSERT_TRUE(host->SaveProject());
	ASSERT_TRUE(host->ChangeProject());
	ASSERT_TRUE(host->OpenProject(scratch.Path() / "first.json"));
	ASSERT_TRUE(host->NewProject());
	ASSERT_TRUE(host->CloseProject());
	EXPECT_EQ(control.events,
		(std::vector<std::int32_t> {Events::New, Events::SaveAs, Events::Save, Events::Changed, Events::Close,
			Events::Open, Events::Close, Events::New, Events::Close}));
	EXPECT_EQ(host->CurrentProject(), nullptr);
}

TEST_F(ProjectEventTest, QuitRaisesTwoThenReleasesAndUnloads)
{
	LoadRegistered(TestAddOnA, Events::AllMask);
	host->SessionTranscript().Clear();
	host->Quit();
	EXPECT_EQ(host->SessionTranscript().Texts(TranscriptKind::Detail),
		(std::vector<std::string> {"project event 2 (quit)", "Test Add-On A no longer receives project events",
			"  delivered to Test Add-On A, answered 0", "Test Add-On A: release answered 0",
			"Test Add-On A unloaded"}));
	EXPECT_TRUE(host->AddOns().Loaded().empty());
}

TEST_F(ProjectEventTest, AHandlerThatDeregistersAtQuitGetsNothingMore)
{
	TestAddOnControl& control = LoadRegistered(TestAddOnA, Events::AllMask);
	const AddOn& addOn = *host->AddOns().Loaded().front();
	host->RaiseProjectEvent(Events::Quit);
	EXPECT_EQ(control.calls.back(), "ProjectEvent 2 0");
	EXPECT_FALSE(host->Events().RegistrationOf(addOn).has_value());
	host->RaiseProjectEvent(Events::New);
	EXPECT_EQ(control.events, (std::vector<std::int32_t> {Events::Quit}));
}

TEST_F(ProjectEventTest, ActionsWithoutAProjectFail)
{
	EXPECT_EQ(host->CurrentProject(), nullptr);
	EXPECT_EQ(host->SaveProject().problem, "No project is open");
	EXPECT_FALSE(host->SaveProjectAs("x.json"));
	EXPECT_FALSE(host->CloseProject());
	EXPECT_FALSE(host->ChangeProject());
	EXPECT_FALSE(host->OpenProject(""));
}

TEST_F(ProjectEventTest, EventsReachOnlyTheAddOnsWhoseMaskHasTheirBit)
{
	TestAddOnControl& everything = LoadRegistered(TestAddOnA, Events::AllMask);
	TestAddOnControl& openAndSave = LoadRegistered(TestAddOnB, Events::Open | Events::Save);
	for (const std::int32_t code : {Events::Close, Events::New, Events::Open, Events::Save, Events::Changed,
			 Events::SaveAs, Events::Reserved, std::int32_t {256}})
		host->RaiseProjectEvent(code);
	EXPECT_EQ(everything.events,
		(std::vector<std::int32_t> {Events::Close, Events::New, Events::Open, Events::Save, Events::Changed,
			Events::SaveAs, Events::Reserved}));
	EXPECT_EQ(openAndSave.events, (std::vector<std::int32_t> {Events::Open, Events::Save}));
}

TEST_F(ProjectEventTest, AnAddOnWithoutRegistrationGetsNothing)
{
	TestAddOnControl& control = ControlOf(Load(TestAddOnA));
	EXPECT_TRUE(host->RaiseProjectEvent(Events::Open).empty());
	EXPECT_TRUE(control.events.empty());
}

TEST_F(ProjectEventTest, RegisteringAgainReplacesTheMaskAndANullHandlerEndsIt)
{
	AddOn& addOn = Load(TestAddOnA);
	const HostSdk::HostFunction* slots = host->Table().Slots();
	const HostSdk::ProjectEventHandler handler = [](std::int32_t, std::int32_t) { return HostSdk::HostStatus {0}; };
	ASSERT_EQ(
		CallSlot<HostSdk::Entry::EventRegistration>(slots, addOn.Token(), std::uint32_t {Events::Open}, handler), 0);
	ASSERT_EQ(
		CallSlot<HostSdk::Entry::EventRegistration>(slots, addOn.Token(), std::uint32_t {Events::Save}, handler), 0);
	EXPECT_EQ(host->Events().RegistrationOf(addOn)->mask, std::uint32_t {Events::Save});
	EXPECT_TRUE(host->RaiseProjectEvent(Events::Open).empty());
	EXPECT_EQ(host->RaiseProjectEvent(Events::Save).size(), 1u);
	ASSERT_EQ(CallSlot<HostSdk::Entry::EventRegistration>(
				  slots, addOn.Token(), Events::AllMask, HostSdk::ProjectEventHandler {nullptr}),
		0);
	EXPECT_FALSE(host->Events().RegistrationOf(addOn).has_value());
	EXPECT_EQ(host->Events().RegisteredCount(), 0u);
}

} // namespace
} // namespace ReferenceHost::Testing
