// The display order of a type's library-part rows: most polygons first, and between equal
// counts the greater identifier text first. Rows are ordered by passing them through an
// ordered set with this order, so of two rows that tie on both only the first one stays.
#pragma once

#include "counting/LibRow.hpp"

#include <set>
#include <vector>

struct RowOrder {
	// True when a comes before b.
	bool operator()(const LibRow& a, const LibRow& b) const;
};

// Copies of the rows in RowOrder, made by inserting them in their iteration order into an
// ordered set with RowOrder as its less-than relation: a row that ties with one inserted
// before is dropped. Rows is any range of LibRow, such as a type's row table.
template <class Rows>
std::vector<LibRow> OrderRows(const Rows& rows)
{
	std::set<LibRow, RowOrder> ordered;
	for (const LibRow& row : rows)
		ordered.insert(row);
	return std::vector<LibRow>(ordered.begin(), ordered.end());
}
