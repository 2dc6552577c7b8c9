// The text report of a counting run in the host's report window: the total, a header, one
// line per shown element type and, under the types that carry library parts, one line per
// library part in display order. Counts are written as the user groups digits and line up at
// fixed columns: names are filled to column 30, object counts end at column 40 and polygon
// counts at column 60 when they fit.
#pragma once

#include "counting/CountResult.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Writes the whole report, making the sorted rows of every row-bearing type on the way.
void WriteCountReport(CountResult& result);

// Stores the rows of the booking type in display order (RowOrder) in result.sortedRows and
// writes one report line per row; a type without rows gets an empty vector and no line.
void BuildSortedRows(CountResult& result, API_ElemTypeID bookingType);

// One report line as it is put together: texts appended and filled with spaces to columns.
// A line that grows past the builder's room is cut there; the report line operation cuts it
// further to what the host takes.
class ReportLineBuilder {
public:
	static constexpr std::size_t Capacity = 1024;

	void Clear() { length = 0; }
	void Append(std::string_view text);
	// Appends spaces until the line is column characters long; nothing when it is already.
	void FillTo(std::size_t column);
	std::string_view Text() const { return std::string_view(text, length); }

	// name filled to column 30, " (", the count ending at column 40, ")", " : ", the polygons
	// ending at column 60.
	void CountLine(std::string_view prefix, std::string_view name, std::int32_t count, std::int32_t polygons);

private:
	char text[Capacity] = {};
	std::size_t length = 0;
};
