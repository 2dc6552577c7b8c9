// Building and tearing down the palette, its life as the open palette, and the host's and
// the close box's hold on it.
#include "palette/RollDownPalette.hpp"

#include "lod/ReadDetailLevelFile.hpp"
#include "palette/RollDownDialogGeneralPage1.hpp"
#include "palette/RollDownDialogGeneralPage2.hpp"
#include "palette/RollDownDialogGeneralPage3.hpp"
#include "palette/RollDownDialogGeneralPage4.hpp"
#include "palette/RollDownDialogGeneralPage5.hpp"
#include "shell/EventHandlers.hpp"
#include "shell/HostCalls.hpp"
#include "shell/ModuleState.hpp"
#include "shell/ResourceModuleScope.hpp"
#include "shell/ShellServices.hpp"

#include "UD/RollDownSurface.hpp"
#include "VX/String.hpp"

#include <new>

namespace {
constexpr short AddOnNameStrings = 141;
constexpr short ResultsTitleStrings = 145;
constexpr short FilterPanelMode = UD::RollDownPanel::Collapsible;
constexpr short ResultsPanelMode = UD::RollDownPanel::Collapsible | UD::RollDownPanel::Grows;
constexpr short TitleBarHeight = 20;
constexpr std::uint32_t RegistrationFlags = 5;

// The page on the panel's tab control; null when it cannot be made or is not valid.
template <class Page>
Page* CreatePage(UD::RollDownPanel& panel)
{
	Page* page = nullptr;
	try {
		page = new (std::nothrow) Page(panel.GetTabControl());
	} catch (...) {
		return nullptr;
	}
	if (page != nullptr && !page->DG::Panel::IsValid()) {
		delete page;
		return nullptr;
	}
	return page;
}
} // namespace

RollDownPalette::RollDownPalette()
	: DockableRollDownPalette(nullptr, DG::Dialog::Close, DG::Dialog::TopCaption, DG::Dialog::NormalFrame)
{
	DisableGrowBox();
	// The host's answer is not looked at: a palette without project events still works.
	HostCalls::RegisterProjectEvents(HostSdk::ProjectEvents::AllMask, ProjectEventHandler);
	ReadDetailLevelFile();
	try {
		Build();
	} catch (...) {
		// What was made is owned by the panels, and the destructor finds it there.
		valid = false;
	}
}

void RollDownPalette::Build()
{
	valid = GetRollDownSurface() != nullptr && DG::Panel::IsValid();
	if (!valid)
		return;
	SetGrowType(DG::Dialog::HVGrow);
	UD::IRollDownSurface& surface = *GetRollDownSurface();
	UD::RollDownPanelSet* set = surface.CreateRollDownPanelSet();
	valid = false;
	if (set == nullptr)
		return;

	// The filter pages: collapsible panels whose titles the pages set.
	auto filterPage = [set]<class Page>(Page*& page) {
		UD::RollDownPanel* panel = set->CreateRollDownPanel(0);
		if (panel == nullptr)
			return false;
		panel->SetMode(FilterPanelMode);
		panel->SetValue(TitleBarHeight);
		page = CreatePage<Page>(*panel);
		panel->SetInitialState();
		return page != nullptr;
	};
	if (!filterPage(page1) || !filterPage(page2) || !filterPage(page3))
		return;

	UD::RollDownPanel* results = set->CreateRollDownPanel(0);
	if (results == nullptr)
		return;
	results->SetTitle(VX::String(LoadResourceString(ResultsTitleStrings, 1)));
	results->SetMode(ResultsPanelMode);
	results->SetValue(TitleBarHeight);
	page4 = CreatePage<RollDownDialogGeneralPage4>(*results);
	if (page4 == nullptr)
		return;

	UD::RollDownPanel* bottom = surface.CreateBottomPanel();
	if (bottom == nullptr)
		return;
	page5 = CreatePage<RollDownDialogGeneralPage5>(*bottom);
	if (page5 == nullptr)
		return;

	Attach(static_cast<DG::PanelObserver&>(*this));
	valid = true;
	Module().palette = this;
}

RollDownPalette::~RollDownPalette()
{
	if (UD::IRollDownSurface* surface = GetRollDownSurface()) {
		for (UD::RollDownPanelSet* set : surface->EnumerateRollDownPanelSets())
			for (UD::RollDownPanel* panel : set->EnumerateRollDownPanels())
				delete panel->GetTabControl().GetTabPage(1);
		if (UD::RollDownPanel* bottom = surface->GetBottomPanel())
			delete bottom->GetTabControl().GetTabPage(1);
	}
	Detach(static_cast<DG::PanelObserver&>(*this));
	HostCalls::RemoveModelessPalette(GetId());
}

void RollDownPalette::PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted)
{
	if (ev.GetSource() != this) {
		if (accepted != nullptr)
			*accepted = false;
		return;
	}
	if (accepted != nullptr)
		*accepted = true;
	// Destroys this palette: nothing of it may be touched afterwards.
	TogglePalette();
}

void RollDownPalette::PanelOpened(const DG::PanelOpenEvent& ev)
{
	if (ev.GetSource() != this)
		return;
	HostSdk::PaletteRegistrationRecord record {};
	record.panelId = GetId();
	record.callback = PaletteControlCallback;
	record.flags = RegistrationFlags;
	HostCalls::RegisterModelessPalette(record);
}

void RollDownPalette::PanelResized(const DG::PanelResizeEvent&)
{
	const ResourceModuleScope scope;
	SetTitle(LoadResourceString(AddOnNameStrings, 1));
}

RollDownPalette* GetOpenPalette()
{
	return Module().palette;
}

void TogglePalette()
{
	ModuleState& state = Module();
	if (RollDownPalette* open = state.palette) {
		open->EndEventProcessing();
		delete open;
		state.palette = nullptr;
		SetPaletteShownMark(false);
		return;
	}
	RollDownPalette* palette = nullptr;
	try {
		const ResourceModuleScope scope;
		palette = new (std::nothrow) RollDownPalette();
	} catch (...) {
		palette = nullptr;
	}
	state.palette = palette;
	if (palette == nullptr)
		return;
	if (!palette->IsValid()) {
		delete palette;
		state.palette = nullptr;
		return;
	}
	palette->BeginEventProcessing();
	palette->Show();
	try {
		palette->GetPage5()->RefreshCommand();
	} catch (...) {
		// The palette stays open with the result it had; the next Refresh counts again.
	}
	SetPaletteShownMark(true);
}

void DestroyPalette()
{
	ModuleState& state = Module();
	delete state.palette;
	state.palette = nullptr;
}

HostSdk::HostStatus PaletteControlCallback(
	std::int32_t /*referenceId*/, std::int32_t message, std::int32_t /*parameter*/)
{
	RollDownPalette* palette = GetOpenPalette();
	if (palette == nullptr)
		return HostSdk::StatusOk;
	if (message == HostSdk::PaletteMessageHide) {
		SetPaletteShownMark(false);
		palette->Hide();
	} else if (message == HostSdk::PaletteMessageShow) {
		palette->Show();
		SetPaletteShownMark(true);
	}
	return HostSdk::StatusOk;
}
