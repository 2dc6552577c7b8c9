// Modal dialogs: Invoke hands the dialog to the user agent and answers how it was closed;
// without an agent, or when the agent leaves it open, it closes with Cancel; every dialog
// shown is recorded with its title and texts.
#include "DialogTestSupport.hpp"

#include <functional>
#include <optional>

namespace {

using namespace DialogTest;

// A dialog whose OK button accepts and Cancel button cancels, as most dialogs do.
class AnswerDialog : public DG::ModalDialog, public DG::ButtonItemObserver {
public:
	AnswerDialog() : DG::ModalDialog(TestResources(), LibraryDialog), ok(*this, OkItem), cancel(*this, CancelItem)
	{
		ok.Attach(*this);
		cancel.Attach(*this);
	}
	~AnswerDialog() override
	{
		ok.Detach(*this);
		cancel.Detach(*this);
	}
	void ButtonClicked(const DG::ButtonClickEvent& ev) override
	{
		PostCloseRequest(ev.GetSource() == &ok ? Accept : Cancel);
	}

	DG::Button ok;
	DG::Button cancel;
};

class ModalDialogs : public ::testing::Test {
protected:
	void SetUp() override { DG::ClearShownModalDialogs(); }
	void TearDown() override { DG::ClearShownModalDialogs(); }
};

TEST_F(ModalDialogs, InvokeAnswersHowTheDialogWasClosed)
{
	ASSERT_EQ(DG::GetUserAgent(), nullptr);
	const struct {
		const char* what;
		std::function<void(DG::User&)> answer; // none: no agent at all
		bool accepted;
	} cases[] = {
		{"no agent", nullptr, false},
		{"OK, then too late Cancel",
			[](DG::User& user) {
				EXPECT_TRUE(user.Click("OK"));
				EXPECT_FALSE(user.Click("Cancel")) << "the dialog is closed";
			},
			true},
		{"Cancel", [](DG::User& user) { EXPECT_TRUE(user.Click("Cancel")); }, false},
		{"close box", [](DG::User& user) { EXPECT_TRUE(user.PressCloseBox()); }, false},
		{"left open", [](DG::User& user) { EXPECT_TRUE(user.Click("Remember")); }, false},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		DG::ClearShownModalDialogs();
		DG::QueuedUserAgent agent;
		std::optional<DG::UserAgentScope> scope;
		if (row.answer) {
			scope.emplace(agent);
			agent.Enqueue(row.answer);
		}
		AnswerDialog dialog;
		EXPECT_EQ(dialog.Invoke(), row.accepted);
		const auto response = row.accepted ? DG::ModalDialog::Accept : DG::ModalDialog::Cancel;
		EXPECT_EQ(dialog.GetResponse(), response);
		EXPECT_FALSE(dialog.IsOpen());
		EXPECT_EQ(agent.GetAnsweredCount(), row.answer ? 1u : 0u);
		EXPECT_EQ(agent.GetPendingCount(), 0u);
		ASSERT_EQ(DG::GetShownModalDialogCount(), 1u);
		EXPECT_EQ(DG::GetShownModalDialogs()[0].response, response);
	}
}

TEST_F(ModalDialogs, RefusedCloseRequestKeepsTheDialogOpen)
{
	DG::QueuedUserAgent agent;
	DG::UserAgentScope scope(agent);
	AnswerDialog dialog;
	EventSpy spy;
	spy.refuseClose = true;
	dialog.Attach(static_cast<DG::PanelObserver&>(spy));
	agent.Enqueue([&dialog](DG::User& user) {
		EXPECT_TRUE(user.PressCloseBox());
		EXPECT_TRUE(dialog.IsOpen());
		EXPECT_TRUE(user.Click("OK"));
	});
	EXPECT_TRUE(dialog.Invoke());
	EXPECT_EQ(spy.events, (std::vector<std::string> {"PanelOpened", "PanelCloseRequested"}));
}

TEST_F(ModalDialogs, NestedDialogTakesTheNextAnswer)
{
	DG::QueuedUserAgent agent;
	DG::UserAgentScope scope(agent);
	bool innerAnswer = true;
	agent.Enqueue([&innerAnswer](DG::User& user) {
		AnswerDialog inner;
		innerAnswer = inner.Invoke();
		EXPECT_TRUE(user.Click("OK"));
	});
	agent.Enqueue([](DG::User& user) { EXPECT_TRUE(user.Click("Cancel")); });
	AnswerDialog outer;
	EXPECT_TRUE(outer.Invoke());
	EXPECT_FALSE(innerAnswer);
	ASSERT_EQ(DG::GetShownModalDialogCount(), 2u);
	EXPECT_EQ(DG::GetShownModalDialogs()[0].response, DG::ModalDialog::Accept);
	EXPECT_EQ(DG::GetShownModalDialogs()[1].response, DG::ModalDialog::Cancel);
}

TEST_F(ModalDialogs, InvokeOfAnOpenDialogIsRefused)
{
	DG::QueuedUserAgent agent;
	DG::UserAgentScope scope(agent);
	AnswerDialog dialog;
	bool again = true;
	agent.Enqueue([&](DG::User& user) {
		again = dialog.Invoke();
		EXPECT_TRUE(user.Click("OK"));
	});
	EXPECT_TRUE(dialog.Invoke());
	EXPECT_FALSE(again);
	EXPECT_EQ(DG::GetShownModalDialogCount(), 1u);
}

TEST_F(ModalDialogs, RecordHoldsTitleTextsOfShownItemsAndRendering)
{
	DG::ModalDialog dialog(TestResources(), MessageDialog);
	DG::CheckBox(dialog, 4).Hide();
	EXPECT_FALSE(dialog.Invoke());
	ASSERT_EQ(DG::GetShownModalDialogCount(), 1u);
	const DG::ShownModalDialog shown = DG::GetShownModalDialogs()[0];
	EXPECT_EQ(shown.resourceId, MessageDialog);
	EXPECT_EQ(shown.title, "Message");
	EXPECT_EQ(shown.texts, (std::vector<std::string> {"First line", "Second\r\nThird\r\n", "OK"}));
	EXPECT_EQ(shown.rendering, DG::RenderText(dialog));
	EXPECT_TRUE(shown.closed);
}

TEST_F(ModalDialogs, HotKeyHandlerClosesTheDialog)
{
	struct EscapeCloses : DG::ModalDialog, DG::PanelObserver {
		EscapeCloses() : DG::ModalDialog(TestResources(), LibraryDialog)
		{
			Attach(static_cast<DG::PanelObserver&>(*this));
			EnableHotKeys();
			escape = RegisterHotKey(DG::Key::Escape);
		}
		~EscapeCloses() override { Detach(static_cast<DG::PanelObserver&>(*this)); }
		void PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed) override
		{
			if (ev.GetKeyId() == escape) {
				*processed = true;
				PostCloseRequest(Cancel);
			}
		}
		short escape = 0;
	};
	DG::QueuedUserAgent agent;
	DG::UserAgentScope scope(agent);
	EscapeCloses dialog;
	agent.Enqueue([&dialog](DG::User& user) {
		EXPECT_TRUE(user.PressKey(DG::Key::Escape));
		EXPECT_FALSE(dialog.IsOpen());
	});
	EXPECT_FALSE(dialog.Invoke());
	EXPECT_EQ(DG::Key::Escape, -5);
}

} // namespace
