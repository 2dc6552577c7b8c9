// The add-on's palette: four roll panels (stories, selection, default level, results) and the
// command page in the bottom panel. At most one exists, the open palette; the menu command,
// the project's closing and the close box open and close it, and the host hides and shows it.
#pragma once

#include "palette/DockableRollDownPalette.hpp"

#include "DG/Observers.hpp"
#include "HostSdk/HostTypes.hpp"

#include <cstdint>

class RollDownDialogGeneralPage1;
class RollDownDialogGeneralPage2;
class RollDownDialogGeneralPage3;
class RollDownDialogGeneralPage4;
class RollDownDialogGeneralPage5;

class RollDownPalette : public DockableRollDownPalette, public DG::PanelObserver {
public:
	// Subscribes the module to the project events, reads the configuration file again and
	// builds the panels and pages (inside a ResourceModuleScope). Anything that cannot be
	// built leaves it not valid, with every page made so far owned by its panel.
	RollDownPalette();
	~RollDownPalette() override;

	bool IsValid() const { return valid; }
	RollDownDialogGeneralPage1* GetPage1() const { return page1; }
	RollDownDialogGeneralPage2* GetPage2() const { return page2; }
	RollDownDialogGeneralPage3* GetPage3() const { return page3; }
	RollDownDialogGeneralPage4* GetPage4() const { return page4; }
	RollDownDialogGeneralPage5* GetPage5() const { return page5; }

	void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
	void PanelOpened(const DG::PanelOpenEvent& ev) override;
	void PanelResized(const DG::PanelResizeEvent& ev) override;

private:
	void Build();

	RollDownDialogGeneralPage1* page1 = nullptr;
	RollDownDialogGeneralPage2* page2 = nullptr;
	RollDownDialogGeneralPage3* page3 = nullptr;
	RollDownDialogGeneralPage4* page4 = nullptr;
	RollDownDialogGeneralPage5* page5 = nullptr;
	bool valid = false;
};

// The open palette; null while closed.
RollDownPalette* GetOpenPalette();

// Opens the palette when it is closed (and counts at once), closes it when it is open; the
// menu mark follows. A palette that cannot be built stays closed.
void TogglePalette();

// Destroys the open palette, if any, as the add-on's release does: without ending its event
// processing or touching the menu mark, which the host is about to take away.
void DestroyPalette();

// The host's palette control messages: 2 hides the open palette, 3 shows it again.
HostSdk::HostStatus PaletteControlCallback(std::int32_t referenceId, std::int32_t message, std::int32_t parameter);
