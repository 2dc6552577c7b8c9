// Observers that delete, detach or outlive what they observe: a handler may delete the very
// panel that is calling it, and the library then touches nothing of that panel again.
#include "DialogTestSupport.hpp"

namespace {

using namespace DialogTest;

// A palette that closes itself for good from its own close-request handler, as a palette
// with a close box that destroys it does.
class SelfDeletingPalette : public DG::Palette, public DG::PanelObserver, public DG::ButtonItemObserver {
public:
	explicit SelfDeletingPalette(SelfDeletingPalette** owner)
		: DG::Palette(TestResources(), LibraryDialog, TestGuid()), self(owner), ok(*this, OkItem)
	{
		Attach(static_cast<DG::PanelObserver&>(*this));
		ok.Attach(*this);
	}
	~SelfDeletingPalette() override
	{
		ok.Detach(*this);
		Detach(static_cast<DG::PanelObserver&>(*this));
		*self = nullptr;
	}

	void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override
	{
		if (ev.GetSource() != this)
			return;
		*accepted = true;
		delete this;
	}
	void ButtonClicked(const DG::ButtonClickEvent&) override { delete this; }

private:
	SelfDeletingPalette** self;
	DG::Button ok;
};

class PanelDeletedByItsObserver : public ::testing::Test {
protected:
	void SetUp() override
	{
		palette = new SelfDeletingPalette(&palette);
		palette->BeginEventProcessing();
		palette->Show();
		id = palette->GetId();
	}
	void TearDown() override { delete palette; }

	SelfDeletingPalette* palette = nullptr;
	short id = 0;
};

TEST_F(PanelDeletedByItsObserver, CloseBoxDeletesThePaletteAndLaterObserversAreNotCalled)
{
	EventSpy later;
	palette->Attach(static_cast<DG::PanelObserver&>(later));
	DG::User user(*palette);
	ASSERT_TRUE(user.PressCloseBox());
	EXPECT_EQ(palette, nullptr);
	EXPECT_EQ(DG::FindPanel(id), nullptr);
	EXPECT_TRUE(later.events.empty());
	DG::ActionResult after = user.Click("OK");
	EXPECT_FALSE(after);
	EXPECT_NE(after.GetProblem().find("no longer exists"), std::string::npos);
	EXPECT_EQ(user.GetPanel(), nullptr);
}

TEST_F(PanelDeletedByItsObserver, ButtonHandlerDeletesThePalette)
{
	DG::User user(*palette);
	ASSERT_TRUE(user.Click("OK"));
	EXPECT_EQ(palette, nullptr);
}

TEST_F(PanelDeletedByItsObserver, ListSelectionHandlerDeletesThePaletteBeforeTheClick)
{
	struct Deleter : DG::ListBoxObserver {
		SelfDeletingPalette** target = nullptr;
		int clicks = 0;
		void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent&) override { delete *target; }
		void ListBoxClicked(const DG::ListBoxClickEvent&) override { ++clicks; }
	};
	Deleter deleter;
	deleter.target = &palette;
	auto list = std::make_unique<DG::SingleSelListBox>(*palette, SingleListItem);
	list->AppendItem();
	list->Attach(deleter);
	DG::User user(*palette);
	ASSERT_TRUE(user.DoubleClickListItem(SingleListItem, 1));
	EXPECT_EQ(palette, nullptr);
	EXPECT_EQ(deleter.clicks, 0);
}

TEST_F(PanelDeletedByItsObserver, PanelOpenedHandlerDeletesThePalette)
{
	struct Deleter : DG::PanelObserver {
		SelfDeletingPalette** target = nullptr;
		void PanelOpened(const DG::PanelOpenEvent&) override { delete *target; }
	};
	palette->EndEventProcessing();
	Deleter deleter;
	deleter.target = &palette;
	palette->Attach(deleter);
	palette->BeginEventProcessing();
	EXPECT_EQ(palette, nullptr);
}

TEST(ObserverLifetime, ObserverDestroyedWhileAttachedIsNeverCalled)
{
	auto palette = OpenLibraryPalette();
	DG::Button ok(*palette, OkItem);
	auto spy = std::make_unique<EventSpy>();
	ok.Attach(*spy);
	palette->Attach(static_cast<DG::PanelObserver&>(*spy));
	spy.reset();
	DG::User user(*palette);
	EXPECT_TRUE(user.Click("OK"));
	EXPECT_TRUE(user.PressCloseBox());
}

TEST(ObserverLifetime, HandlerDeletingTheNextObserverSkipsIt)
{
	auto palette = OpenLibraryPalette();
	DG::Button ok(*palette, OkItem);
	auto second = std::make_unique<EventSpy>();
	struct Killer : DG::ButtonItemObserver {
		std::unique_ptr<EventSpy>* victim = nullptr;
		void ButtonClicked(const DG::ButtonClickEvent&) override { victim->reset(); }
	} killer;
	killer.victim = &second;
	ok.Attach(killer);
	ok.Attach(*second);
	EXPECT_TRUE(DG::User(*palette).Click("OK"));
	EXPECT_EQ(second, nullptr);
}

TEST(ObserverLifetime, HandlerDetachingItselfAndAttachingAnotherDuringAnEvent)
{
	auto palette = OpenLibraryPalette();
	DG::Button ok(*palette, OkItem);
	EventSpy late;
	struct OneShot : DG::ButtonItemObserver {
		DG::Button* button = nullptr;
		EventSpy* next = nullptr;
		int calls = 0;
		void ButtonClicked(const DG::ButtonClickEvent&) override
		{
			++calls;
			button->Detach(*this);
			button->Attach(*next);
		}
	} oneShot;
	oneShot.button = &ok;
	oneShot.next = &late;
	ok.Attach(oneShot);
	DG::User user(*palette);
	ASSERT_TRUE(user.Click("OK"));
	// The observer attached during the event hears the next click, not this one.
	EXPECT_TRUE(late.events.empty());
	ASSERT_TRUE(user.Click("OK"));
	EXPECT_EQ(oneShot.calls, 1);
	EXPECT_EQ(late.events.size(), 1u);
}

TEST(ObserverLifetime, HandleDestroyedTakesItsAttachmentsAlongAndPanelDestroyedFirstIsHarmless)
{
	auto palette = OpenLibraryPalette();
	EventSpy spy;
	{
		DG::Button ok(*palette, OkItem);
		ok.Attach(spy);
	}
	EXPECT_TRUE(DG::User(*palette).Click("OK"));
	EXPECT_TRUE(spy.events.empty());
	// An observer outliving the panel detaches harmlessly.
	auto ok = std::make_unique<DG::Button>(*palette, OkItem);
	ok->Attach(spy);
	palette->Attach(static_cast<DG::PanelObserver&>(spy));
	palette.reset();
	EXPECT_FALSE(ok->IsValid());
	ok->Detach(spy);
	ok.reset();
}

} // namespace
