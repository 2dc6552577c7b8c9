// The base of the palette's five pages: a tab page built from one of the module's dialog
// resources as page 1 of the tab control its roll panel offers, observing its own panel
// events (each page overrides what it needs).
#pragma once

#include "DG/Item.hpp"
#include "DG/Observers.hpp"
#include "DG/Panel.hpp"

#include <string>

class RollDownPalette;

class RollDownDialogGeneralPage : public DG::TabPage, public DG::PanelObserver {
public:
	// Built from the active resource module, so inside a ResourceModuleScope.
	RollDownDialogGeneralPage(const DG::TabControl& control, short resourceId);
	~RollDownDialogGeneralPage() override;

protected:
	// The palette holding the page; null once it is gone or when it is no roll-down palette.
	RollDownPalette* GetPalette() const;
	// Sets the title of the active panel set's roll panel at position (from 0).
	void SetRollPanelTitle(short position, const std::string& title) const;
	// The page width below which a title shows its value only, from a string list item.
	static short WidthThreshold(short stringList, short item);

	// Brackets a batch of item moves on the palette holding the page, so they show at once.
	class MoveResizeScope {
	public:
		explicit MoveResizeScope(const RollDownDialogGeneralPage& page);
		~MoveResizeScope();
		MoveResizeScope(const MoveResizeScope&) = delete;
		MoveResizeScope& operator=(const MoveResizeScope&) = delete;

	private:
		DG::Dialog* palette;
	};
};
