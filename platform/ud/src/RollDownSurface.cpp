// The surface, its panel sets and panels, their layout, a person's rolling, and the rolled
// states kept for the initial-state operation. Everything runs on the user-interface thread,
// as the dialog library does.
#include "UD/RollDownSurface.hpp"

#include "DG/Panel.hpp"
#include "VX/String.hpp"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace UD {

namespace {
std::map<const DG::Panel*, RollDownSurface*>& Surfaces()
{
	static std::map<const DG::Panel*, RollDownSurface*> surfaces;
	return surfaces;
}

// GUID text of a palette → panel place → rolled down.
std::map<std::string, std::map<int, bool>>& RolledStates()
{
	static std::map<std::string, std::map<int, bool>> states;
	return states;
}

int failCountdown = 0;

// True when this creation is the one a test asked to fail.
bool CreationFails()
{
	if (failCountdown <= 0)
		return false;
	return --failCountdown == 0;
}

std::string PaletteKey(const DG::Dialog& dialog)
{
	const auto* palette = dynamic_cast<const DG::Palette*>(&dialog);
	return palette == nullptr || palette->GetGuid().IsNull() ? std::string() : palette->GetGuid().ToText();
}

bool PersonCanUse(const DG::Dialog& dialog, std::string& why)
{
	if (const auto* modeless = dynamic_cast<const DG::ModelessBase*>(&dialog)) {
		if (!modeless->IsProcessingEvents() || !modeless->IsVisible()) {
			why = "the palette is not shown";
			return false;
		}
	} else if (const auto* modal = dynamic_cast<const DG::ModalDialog*>(&dialog);
			   modal != nullptr && !modal->IsOpen()) {
		why = "the dialog is not open";
		return false;
	}
	return true;
}

// The height a page needs: its own, or down to its lowest shown item when that is lower.
short ContentHeight(const DG::TabPage& page)
{
	short height = page.GetHeight();
	for (short index = 1; index <= page.GetItemCount(); ++index) {
		const DG::Item item(page, index);
		if (item.IsVisible())
			height = std::max(height, item.GetRect().bottom);
	}
	return height;
}
} // namespace

// Panels

RollDownPanel::RollDownPanel(RollDownSurface& owner, bool isBottom, short tabControlItem)
	: surface(owner), tabControl(owner.dialog, tabControlItem), titleHeight(isBottom ? 0 : DefaultTitleHeight),
	  bottom(isBottom)
{
}

DG::TabPage* RollDownPanel::GetPage() const
{
	return tabControl.GetTabPage(1);
}

void RollDownPanel::SetTitle(const VX::String& text)
{
	title = text.ToStd();
}
void RollDownPanel::SetTitle(const std::string& text)
{
	title = text;
}

void RollDownPanel::SetMode(short newMode)
{
	mode = static_cast<short>(newMode & (Collapsible | Grows));
	if (!IsCollapsible())
		rolledDown = true;
	surface.Layout();
}

void RollDownPanel::SetValue(short value)
{
	titleHeight = std::max<short>(0, value);
	surface.Layout();
}

void RollDownPanel::SetInitialState()
{
	keepsState = true;
	const std::string key = PaletteKey(surface.dialog);
	if (key.empty())
		return;
	const auto palette = RolledStates().find(key);
	if (palette == RolledStates().end())
		return;
	const auto state = palette->second.find(surface.PanelIndex(*this));
	if (state != palette->second.end() && IsCollapsible())
		SetRolledDown(state->second);
}

void RollDownPanel::SetRolledDown(bool down)
{
	if (!IsCollapsible() || rolledDown == down)
		return;
	rolledDown = down;
	surface.Layout();
}

// Panel sets

RollDownPanel* RollDownPanelSet::CreateRollDownPanel(int kind)
{
	if (kind != 0 || CreationFails())
		return nullptr;
	RollDownPanel* panel = surface.NewPanel(false);
	if (panel == nullptr)
		return nullptr;
	panels.emplace_back(panel);
	surface.Layout();
	return panel;
}

std::vector<RollDownPanel*> RollDownPanelSet::EnumerateRollDownPanels() const
{
	std::vector<RollDownPanel*> list;
	for (const auto& panel : panels)
		list.push_back(panel.get());
	return list;
}

// The surface

RollDownSurface::RollDownSurface(DG::Dialog& owner, const DG::Point* anchorPoint, DG::Button* first, DG::Button* second)
	: dialog(owner), anchor(anchorPoint != nullptr ? *anchorPoint : DG::Point {}), buttons {first, second}
{
	if (CreationFails())
		throw std::runtime_error("the roll-down surface could not be made");
	if (!dialog.IsValid())
		throw std::runtime_error("a roll-down surface needs a valid dialog");
	dialog.Attach(*this);
	Surfaces()[&dialog] = this;
}

RollDownSurface::~RollDownSurface()
{
	const std::string key = PaletteKey(dialog);
	if (!key.empty()) {
		for (RollDownPanel* panel : ShownPanels()) {
			if (panel->keepsState)
				RolledStates()[key][PanelIndex(*panel)] = panel->rolledDown;
		}
	}
	Surfaces().erase(&dialog);
	dialog.Detach(*this);
}

RollDownPanel* RollDownSurface::NewPanel(bool bottom)
{
	const short item = dialog.AddItem(DG::ItemKind::TabControl, DG::Rect {});
	if (item == 0)
		return nullptr;
	return new RollDownPanel(*this, bottom, item);
}

RollDownPanelSet* RollDownSurface::CreateRollDownPanelSet()
{
	if (CreationFails())
		return nullptr;
	sets.push_back(std::unique_ptr<RollDownPanelSet>(new RollDownPanelSet(*this)));
	return sets.back().get();
}

std::vector<RollDownPanelSet*> RollDownSurface::EnumerateRollDownPanelSets() const
{
	std::vector<RollDownPanelSet*> list;
	for (const auto& set : sets)
		list.push_back(set.get());
	return list;
}

RollDownPanelSet* RollDownSurface::GetActiveRollDownPanelSet() const
{
	return sets.empty() ? nullptr : sets.front().get();
}

RollDownPanel* RollDownSurface::CreateBottomPanel()
{
	if (bottomPanel == nullptr && !CreationFails()) {
		bottomPanel.reset(NewPanel(true));
		Layout();
	}
	return bottomPanel.get();
}

RollDownPanel* RollDownSurface::GetBottomPanel() const
{
	return bottomPanel.get();
}

std::vector<RollDownPanel*> RollDownSurface::ShownPanels() const
{
	std::vector<RollDownPanel*> list;
	if (const RollDownPanelSet* set = GetActiveRollDownPanelSet())
		list = set->EnumerateRollDownPanels();
	if (bottomPanel != nullptr)
		list.push_back(bottomPanel.get());
	return list;
}

short RollDownSurface::PanelIndex(const RollDownPanel& panel) const
{
	if (&panel == bottomPanel.get())
		return -1;
	const std::vector<RollDownPanel*> shown = ShownPanels();
	return static_cast<short>(std::find(shown.begin(), shown.end(), &panel) - shown.begin());
}

void RollDownSurface::Layout()
{
	const short width = static_cast<short>(std::max(0, dialog.GetWidth() - anchor.x));
	short bottomEdge = dialog.GetHeight();
	// The buttons sit in the last row; the bottom panel right above them.
	short right = dialog.GetWidth();
	short buttonRow = 0;
	for (DG::Button* button : buttons) {
		if (button == nullptr || !button->IsValid())
			continue;
		const short w = button->GetWidth();
		const short h = button->GetHeight();
		right = static_cast<short>(right - w - 4);
		button->SetPosition(DG::Point {right, static_cast<short>(dialog.GetHeight() - h - 4)});
		buttonRow = std::max<short>(buttonRow, static_cast<short>(h + 8));
	}
	bottomEdge = static_cast<short>(bottomEdge - buttonRow);

	struct Place {
		RollDownPanel* panel;
		short pageHeight;
	};
	std::vector<Place> places;
	const RollDownPanelSet* set = GetActiveRollDownPanelSet();
	int fixed = 0;
	int growing = 0;
	short bottomHeight = 0;
	if (bottomPanel != nullptr) {
		const DG::TabPage* page = bottomPanel->GetPage();
		bottomHeight = page != nullptr ? ContentHeight(*page) : 0;
		fixed += bottomHeight + bottomPanel->titleHeight;
	}
	if (set != nullptr) {
		for (const auto& panel : set->panels) {
			fixed += panel->titleHeight;
			const DG::TabPage* page = panel->GetPage();
			if (panel->rolledDown && (panel->mode & RollDownPanel::Grows) != 0)
				++growing;
			else if (panel->rolledDown && page != nullptr)
				fixed += page->GetHeight();
		}
	}
	const int room = std::max(0, bottomEdge - anchor.y - fixed);
	int growShare = growing > 0 ? room / growing : 0;
	int growLeft = growing > 0 ? room - growShare * growing : 0;

	short y = anchor.y;
	if (set != nullptr) {
		for (const auto& panel : set->panels) {
			panel->top = y;
			y = static_cast<short>(y + panel->titleHeight);
			const DG::TabPage* page = panel->GetPage();
			short height = 0;
			if (panel->rolledDown && (panel->mode & RollDownPanel::Grows) != 0) {
				height = static_cast<short>(growShare + growLeft);
				growLeft = 0;
			} else if (page != nullptr) {
				height = page->GetHeight();
			}
			places.push_back(Place {panel.get(), height});
			panel->tabControl.SetRect(DG::Rect::FromSize(anchor.x, y, width, panel->rolledDown ? height : 0));
			panel->tabControl.SetVisibility(panel->rolledDown);
			if (panel->rolledDown)
				y = static_cast<short>(y + height);
		}
	}
	if (bottomPanel != nullptr) {
		const short top = static_cast<short>(std::max<int>(y, bottomEdge - bottomHeight - bottomPanel->titleHeight));
		bottomPanel->top = top;
		const DG::TabPage* page = bottomPanel->GetPage();
		places.push_back(Place {bottomPanel.get(), page != nullptr ? page->GetHeight() : short(0)});
		bottomPanel->tabControl.SetRect(
			DG::Rect::FromSize(anchor.x, static_cast<short>(top + bottomPanel->titleHeight), width, bottomHeight));
	}

	// Pages hear their new size only when a person could have caused it; a page a handler
	// deletes meanwhile is looked up again through its panel.
	std::string why;
	if (!PersonCanUse(dialog, why))
		return;
	for (const Place& place : places) {
		DG::TabPage* page = place.panel->GetPage();
		if (page == nullptr || (page->GetWidth() == width && page->GetHeight() == place.pageHeight))
			continue;
		DG::User(*page).Resize(width, place.pageHeight);
	}
}

void RollDownSurface::PanelOpened(const DG::PanelOpenEvent& ev)
{
	if (ev.GetSource() == &dialog)
		Layout();
}

void RollDownSurface::PanelResized(const DG::PanelResizeEvent& ev)
{
	if (ev.GetSource() == &dialog)
		Layout();
}

DG::ActionResult UserRoll(RollDownPanel& panel, bool down)
{
	std::string why;
	DG::Dialog& dialog = panel.GetSurface().GetDialog();
	if (!PersonCanUse(dialog, why))
		return DG::ActionResult::Refused(why);
	if (dialog.AreItemsDisabled())
		return DG::ActionResult::Refused("the palette's items are disabled");
	if (!panel.IsCollapsible())
		return DG::ActionResult::Refused("the panel \"" + panel.GetTitle() + "\" cannot be rolled");
	if (down)
		panel.RollDown();
	else
		panel.RollUp();
	return DG::ActionResult::Done();
}

RollDownSurface* FindRollDownSurface(const DG::Panel& dialog)
{
	const auto found = Surfaces().find(&dialog);
	return found == Surfaces().end() ? nullptr : found->second;
}

std::size_t LiveSurfaceCount()
{
	return Surfaces().size();
}

void ForgetRolledStates()
{
	RolledStates().clear();
}

void FailCreationForTesting(int n)
{
	failCountdown = std::max(0, n);
}

} // namespace UD
