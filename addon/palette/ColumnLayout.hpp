// Where the results list's five columns go for a given width: measured once from the header
// texts, the columns keep their proportions and drop from the right, Detail Level first, as
// the palette narrows. Pure arithmetic, so the thresholds can be checked without a palette.
#pragma once

#include <array>
#include <cstdint>

// The headers' extents from the left edge of the Name header: its width, and the right edges
// of the Objects, Polygons, Percent and Detail Level headers.
struct HeaderExtents {
	std::int32_t nameWidth = 0;
	std::int32_t objectsEnd = 0;
	std::int32_t polygonsEnd = 0;
	std::int32_t percentEnd = 0;
	std::int32_t detailEnd = 0;
};

// Per number of visible columns (five down to one), each visible column's right edge as a
// share of the rightmost one: 5 + 4 + 3 + 2 + 1 entries, five columns first.
using ColumnRatios = std::array<float, 15>;

ColumnRatios ComputeColumnRatios(const HeaderExtents& extents);

// One tab field of the list; a column that is not shown begins and ends at 0 (the Name
// column keeps its beginning).
struct FieldSpan {
	std::int32_t begin = 0;
	std::int32_t end = 0;
};

// The Name, Objects, Polygons, Percent and Detail Level columns (tab fields 3 to 7) and which
// of them are shown.
struct ColumnLayout {
	std::array<FieldSpan, 5> fields {};
	std::array<bool, 5> visible {};
};

// Where the Name column begins: right of the fold icon and the child marker.
inline constexpr std::int32_t NameFieldBegin = 25;

// The layout for rows usableWidth wide (the list's item width less one).
ColumnLayout ComputeColumnLayout(const HeaderExtents& extents, const ColumnRatios& ratios, std::int32_t usableWidth);
