// Points and rectangles in the dialog library's coordinates: whole units, x to the right,
// y downwards, an item's rectangle relative to the top-left corner of its panel.
#pragma once

namespace DG {

struct Point {
	short x = 0;
	short y = 0;

	friend bool operator==(const Point&, const Point&) = default;
};

// Left and top are inside, right and bottom just outside, so the width is right - left.
struct Rect {
	short left = 0;
	short top = 0;
	short right = 0;
	short bottom = 0;

	static constexpr Rect FromSize(short x, short y, short width, short height)
	{
		return Rect {x, y, static_cast<short>(x + width), static_cast<short>(y + height)};
	}

	constexpr short GetWidth() const { return static_cast<short>(right - left); }
	constexpr short GetHeight() const { return static_cast<short>(bottom - top); }
	constexpr Point GetTopLeft() const { return Point {left, top}; }

	friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace DG
