// The roll-down surface: a vertical stack of titled roll panels over a dialog's client area,
// each panel offering a tab control that holds one page, and a bottom panel below the stack.
// Panels live in panel sets; the active set is the one shown. The surface keeps the panels
// laid out: when a person resizes the dialog or rolls a panel up or down, every panel moves
// to its new place and each page whose size changes hears a resize of its own.
//
// A roll panel's two settings: the mode is a set of bits, Collapsible (1: a person can roll
// it up to its title bar and down again) and Grows (2: its page takes the height the other
// panels leave, shared with other growing panels); the value is the height of its title bar.
// The initial-state operation gives the panel the rolled state that the panel at the same
// place had when the last surface over a palette of the same GUID was destroyed in this
// process, so a palette comes back as a person left it; the first time it stays rolled down.
#pragma once

#include "DG/Geometry.hpp"
#include "DG/Item.hpp"
#include "DG/Observers.hpp"
#include "DG/User.hpp"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace VX {
class String;
}

namespace DG {
class Dialog;
class Panel;
} // namespace DG

namespace UD {

class RollDownSurface;

class RollDownPanel {
public:
	enum Mode : short { Fixed = 0, Collapsible = 1, Grows = 2 };
	// A title bar needs room for one line of text.
	static constexpr short DefaultTitleHeight = 20;

	RollDownPanel(const RollDownPanel&) = delete;
	RollDownPanel& operator=(const RollDownPanel&) = delete;

	// The tab control holding the panel's pages; its page 1 is what the panel shows.
	DG::TabControl& GetTabControl() { return tabControl; }
	const DG::TabControl& GetTabControl() const { return tabControl; }
	// The page the panel shows (tab page 1); null when there is none.
	DG::TabPage* GetPage() const;

	void SetTitle(const VX::String& title);
	void SetTitle(const std::string& title);
	const std::string& GetTitle() const { return title; }
	void SetMode(short mode);
	short GetMode() const { return mode; }
	// The title bar's height; negative values count as 0.
	void SetValue(short value);
	short GetValue() const { return titleHeight; }
	void SetInitialState();

	RollDownSurface& GetSurface() const { return surface; }
	bool IsBottomPanel() const { return bottom; }
	bool IsCollapsible() const { return (mode & Collapsible) != 0; }
	bool IsRolledDown() const { return rolledDown; }
	// Rolls the panel as code does (a collapsible panel only); the surface lays out again.
	void RollUp() { SetRolledDown(false); }
	void RollDown() { SetRolledDown(true); }
	// Where the surface put it: the title bar's top and the page area below it.
	short GetTop() const { return top; }
	DG::Rect GetPageRect() const { return tabControl.GetRect(); }

private:
	friend class RollDownSurface;
	friend class RollDownPanelSet;
	RollDownPanel(RollDownSurface& surface, bool isBottom, short tabControlItem);
	void SetRolledDown(bool down);

	RollDownSurface& surface;
	DG::TabControl tabControl;
	std::string title;
	short mode = Fixed;
	short titleHeight = DefaultTitleHeight;
	bool bottom = false;
	bool rolledDown = true;
	bool keepsState = false;
	short top = 0;
};

class RollDownPanelSet {
public:
	RollDownPanelSet(const RollDownPanelSet&) = delete;
	RollDownPanelSet& operator=(const RollDownPanelSet&) = delete;

	// A new roll panel below the set's others; null when the library cannot make one. The
	// argument is the panel's kind, of which the library knows only 0, a page panel.
	RollDownPanel* CreateRollDownPanel(int kind = 0);
	// The roll panels in creation order (from top to bottom).
	std::vector<RollDownPanel*> EnumerateRollDownPanels() const;
	std::size_t GetRollDownPanelCount() const { return panels.size(); }

private:
	friend class RollDownSurface;
	explicit RollDownPanelSet(RollDownSurface& owner) : surface(owner) {}

	RollDownSurface& surface;
	std::vector<std::unique_ptr<RollDownPanel>> panels;
};

// What the add-on sees of a surface.
class IRollDownSurface {
public:
	virtual ~IRollDownSurface() = default;
	// A new panel set; the first one becomes the active set. Null when none can be made.
	virtual RollDownPanelSet* CreateRollDownPanelSet() = 0;
	virtual std::vector<RollDownPanelSet*> EnumerateRollDownPanelSets() const = 0;
	// Null before the first set exists.
	virtual RollDownPanelSet* GetActiveRollDownPanelSet() const = 0;
	// The one bottom panel, made at the first call; null when it cannot be made.
	virtual RollDownPanel* CreateBottomPanel() = 0;
	virtual RollDownPanel* GetBottomPanel() const = 0;
};

class RollDownSurface : public IRollDownSurface, public DG::PanelObserver {
public:
	// Over the dialog's client area, the stack's top-left corner at anchor (the corner when
	// none). The buttons, when given, stand side by side at the right of the dialog's bottom
	// edge, below the bottom panel. Throws std::runtime_error when the dialog is not valid.
	explicit RollDownSurface(DG::Dialog& dialog, const DG::Point* anchor = nullptr, DG::Button* first = nullptr,
		DG::Button* second = nullptr);
	~RollDownSurface() override;
	RollDownSurface(const RollDownSurface&) = delete;
	RollDownSurface& operator=(const RollDownSurface&) = delete;

	RollDownPanelSet* CreateRollDownPanelSet() override;
	std::vector<RollDownPanelSet*> EnumerateRollDownPanelSets() const override;
	RollDownPanelSet* GetActiveRollDownPanelSet() const override;
	RollDownPanel* CreateBottomPanel() override;
	RollDownPanel* GetBottomPanel() const override;

	DG::Dialog& GetDialog() const { return dialog; }
	// The shown panels from top to bottom: the active set's, then the bottom panel.
	std::vector<RollDownPanel*> ShownPanels() const;
	// Places every panel; pages whose size changes hear a resize while a person can use the
	// dialog (until then they keep their size and hear it at the first layout after).
	void Layout();

	// Dialog events: opening and resizing lay the panels out.
	void PanelOpened(const DG::PanelOpenEvent& ev) override;
	void PanelResized(const DG::PanelResizeEvent& ev) override;

private:
	friend class RollDownPanel;
	friend class RollDownPanelSet;
	RollDownPanel* NewPanel(bool bottom);
	short PanelIndex(const RollDownPanel& panel) const;

	DG::Dialog& dialog;
	DG::Point anchor;
	DG::Button* buttons[2];
	std::vector<std::unique_ptr<RollDownPanelSet>> sets;
	std::unique_ptr<RollDownPanel> bottomPanel;
};

// A person rolls a panel up or down (its title bar's arrow). Refused with the reason when a
// person cannot use the dialog now, its items are disabled, or the panel is not collapsible.
DG::ActionResult UserRoll(RollDownPanel& panel, bool down);

// The surface over a panel; null when it has none.
RollDownSurface* FindRollDownSurface(const DG::Panel& dialog);
// Surfaces alive in the process, to show none is left behind.
std::size_t LiveSurfaceCount();
// Forgets the rolled states kept for the initial-state operation.
void ForgetRolledStates();

// Makes the creation calls fail, for tests of what callers do then: the n-th creation from
// now (counting surfaces, panel sets, roll panels and bottom panels from 1) fails, a surface
// by throwing and the others by answering null. 0 turns it off; it is off again after firing.
void FailCreationForTesting(int n);

} // namespace UD
