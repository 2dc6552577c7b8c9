// Modal dialogs an add-on shows: in the transcript with their texts, answered by the host's
// user agent with what was queued, cancelled when nothing was.
#include "TestHost.hpp"

#include "DG/User.hpp"

namespace ReferenceHost::Testing {
namespace {

class ModalDialogTest : public HostTest {
protected:
	TestAddOnControl& LoadShowingDialogs()
	{
		return ControlOf(Load(TestAddOnA, [](TestAddOnControl& control) { control.showDialogOnMenuCommand = true; }));
	}
};

TEST_F(ModalDialogTest, AnUnansweredDialogIsShownAndCancelled)
{
	TestAddOnControl& control = LoadShowingDialogs();
	ASSERT_TRUE(host->ChooseMenuItem("Test Add-On A"));
	EXPECT_EQ(control.dialogAnswers, std::vector<bool> {false});
	EXPECT_EQ(host->SessionTranscript().Texts(TranscriptKind::Message),
		std::vector<std::string> {"Test message | Something happened | Do not show again | OK"});
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Detail, "dialog \"Test message\" cancelled"));
}

TEST_F(ModalDialogTest, AQueuedAnswerActsOnTheNextDialog)
{
	TestAddOnControl& control = LoadShowingDialogs();
	bool ticked = false;
	host->Dialogs().Answers().Enqueue([&ticked](DG::User& user) {
		ticked = static_cast<bool>(user.SetCheck("Do not show again", true));
		auto* dialog = dynamic_cast<DG::ModalDialog*>(user.GetPanel());
		ASSERT_NE(dialog, nullptr);
		dialog->PostCloseRequest(DG::ModalDialog::Accept);
	});
	ASSERT_TRUE(host->ChooseMenuItem("Test Add-On A"));
	ASSERT_TRUE(host->ChooseMenuItem("Test Add-On A"));
	EXPECT_TRUE(ticked);
	EXPECT_EQ(control.dialogAnswers, (std::vector<bool> {true, false})) << "one answer for one dialog";
	EXPECT_EQ(host->Dialogs().Answers().GetPendingCount(), 0u);
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Detail, "dialog \"Test message\" accepted"));
}

TEST_F(ModalDialogTest, TheHostPutsThePreviousAgentBackWhenItEnds)
{
	DG::UserAgent* const hostsAgent = DG::GetUserAgent();
	EXPECT_EQ(hostsAgent, &host->Dialogs().Answers());
	host.reset();
	EXPECT_NE(DG::GetUserAgent(), hostsAgent);
}

} // namespace
} // namespace ReferenceHost::Testing
