// The palette's geometry and identity, and its surface's life.
#include "palette/DockableRollDownPalette.hpp"

#include "UD/RollDownSurface.hpp"

#include <new>

namespace {
const VX::Guid paletteGuid("{9349160F-1FF1-4be3-9909-314107CCB286}");
constexpr DG::Rect PaletteRect = DG::Rect::FromSize(10, 10, 380, 417);
} // namespace

const VX::Guid& PaletteGuid()
{
	return paletteGuid;
}

DockableRollDownPalette::DockableRollDownPalette(const DG::Point* anchor, DG::Dialog::CloseType closeType,
	DG::Dialog::CaptionType captionType, DG::Dialog::FrameType frameType)
	: DG::Palette(PaletteRect, paletteGuid, DG::Dialog::HVGrow, closeType, captionType, frameType)
{
	try {
		rollDownSurface = new (std::nothrow) UD::RollDownSurface(*this, anchor);
	} catch (...) {
		rollDownSurface = nullptr;
	}
}

DockableRollDownPalette::~DockableRollDownPalette()
{
	delete rollDownSurface;
}

UD::IRollDownSurface* DockableRollDownPalette::GetRollDownSurface() const
{
	return rollDownSurface;
}
