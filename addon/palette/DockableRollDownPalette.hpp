// A dockable palette whose client area a roll-down surface manages: the palette's fixed
// place and size, its GUID, and the surface, which dies with it.
#pragma once

#include "DG/Panel.hpp"

namespace UD {
class IRollDownSurface;
class RollDownSurface;
} // namespace UD

// The palette's identity, made when the module is loaded; also the key of the default level
// in the module data.
const VX::Guid& PaletteGuid();

class DockableRollDownPalette : public DG::Palette {
public:
	// The surface's stack starts at anchor (the corner when null). A surface that cannot be
	// made leaves GetRollDownSurface null.
	DockableRollDownPalette(const DG::Point* anchor, DG::Dialog::CloseType closeType,
		DG::Dialog::CaptionType captionType, DG::Dialog::FrameType frameType);
	~DockableRollDownPalette() override;
	DockableRollDownPalette(const DockableRollDownPalette&) = delete;
	DockableRollDownPalette& operator=(const DockableRollDownPalette&) = delete;

	UD::IRollDownSurface* GetRollDownSurface() const;

private:
	UD::RollDownSurface* rollDownSurface = nullptr;
};
