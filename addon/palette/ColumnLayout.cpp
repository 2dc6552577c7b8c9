// The results list's column arithmetic.
#include "palette/ColumnLayout.hpp"

namespace {

float Ratio(std::int32_t part, std::int32_t whole)
{
	// Headers measured as nothing wide give no proportions to keep.
	return whole > 0 ? static_cast<float>(part) / static_cast<float>(whole) : 0.0f;
}

// The products are taken in double precision and cut toward zero, so a column ends at the
// same unit whatever the compiler does with floats.
std::int32_t Scaled(std::int32_t width, float ratio)
{
	return static_cast<std::int32_t>(static_cast<double>(width) * static_cast<double>(ratio));
}

} // namespace

ColumnRatios ComputeColumnRatios(const HeaderExtents& e)
{
	return {
		Ratio(e.nameWidth, e.detailEnd),
		Ratio(e.objectsEnd, e.detailEnd),
		Ratio(e.polygonsEnd, e.detailEnd),
		Ratio(e.percentEnd, e.detailEnd),
		1.0f,
		Ratio(e.nameWidth, e.percentEnd),
		Ratio(e.objectsEnd, e.percentEnd),
		Ratio(e.polygonsEnd, e.percentEnd),
		1.0f,
		Ratio(e.nameWidth, e.polygonsEnd),
		Ratio(e.objectsEnd, e.polygonsEnd),
		1.0f,
		Ratio(e.nameWidth, e.objectsEnd),
		1.0f,
		1.0f,
	};
}

ColumnLayout ComputeColumnLayout(const HeaderExtents& e, const ColumnRatios& ratios, std::int32_t w)
{
	// Visible column count, and where its group of ratios starts in the table.
	int columns = 0;
	std::size_t group = 0;
	if (w >= e.detailEnd) {
		columns = 5;
		group = 0;
	} else if (w >= e.percentEnd) {
		columns = 4;
		group = 5;
	} else if (w >= e.polygonsEnd) {
		columns = 3;
		group = 9;
	} else if (w >= e.objectsEnd) {
		columns = 2;
		group = 12;
	} else if (w >= e.nameWidth) {
		columns = 1;
		group = 14;
	}
	std::array<std::int32_t, 5> ends {};
	for (int c = 0; c < columns; ++c)
		ends[static_cast<std::size_t>(c)] = Scaled(w, ratios[group + static_cast<std::size_t>(c)]);

	ColumnLayout layout;
	layout.fields[0] = {NameFieldBegin, columns >= 1 ? ends[0] : 0};
	layout.visible[0] = columns >= 1;
	for (std::size_t c = 1; c < 5; ++c) {
		layout.visible[c] = columns > static_cast<int>(c);
		if (!layout.visible[c])
			continue;
		// The Detail Level text stands a little apart from the numbers before it.
		const std::int32_t gap = c == 4 ? 5 : 1;
		layout.fields[c] = {ends[c - 1] + gap, ends[c]};
	}
	return layout;
}
