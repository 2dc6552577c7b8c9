// DetailLevelTable: which library-part parameters stand for a level of detail, and which of
// their value texts mean "Detailed", "Simple" and "Off". An ordered multimap from parameter
// name to value row, filled from the configuration file beside the module; the level-of-
// detail change consults it when it first meets a library part in a counting run.
#pragma once

#include "VX/String.hpp"
#include "VXRoot/Array.hpp"

#include <cstddef>
#include <map>
#include <utility>

// Names ordered byte by byte with the bytes as signed characters; a prefix comes first. So
// names are case-sensitive and never trimmed.
struct DetailLevelNameOrder {
	bool operator()(const VX::String& a, const VX::String& b) const;
};

class DetailLevelTable {
public:
	// Position k holds the value text of level-of-detail code k (0 "Detailed", 1 "Simple",
	// 2 "Off"; further positions as the file gives them).
	using Row = VX::Array<VX::String>;
	using Rows = std::multimap<VX::String, Row, DetailLevelNameOrder>;
	using ConstIterator = Rows::const_iterator;

	void Clear() { rows.clear(); }
	// Stores a row after the rows already stored under its name, so equal names keep the order
	// in which they were added.
	void Add(const VX::String& name, Row row);

	// The first row of a name, or End() when the name has none.
	ConstIterator Find(const VX::String& name) const { return rows.find(name); }
	// All rows of a name, in the order they were added.
	std::pair<ConstIterator, ConstIterator> EqualRange(const VX::String& name) const { return rows.equal_range(name); }

	ConstIterator Begin() const { return rows.begin(); }
	ConstIterator End() const { return rows.end(); }
	ConstIterator begin() const { return rows.begin(); }
	ConstIterator end() const { return rows.end(); }
	std::size_t GetSize() const { return rows.size(); }
	bool IsEmpty() const { return rows.empty(); }

private:
	Rows rows;
};

// The add-on's one table: empty from load, refilled each time the palette is built.
DetailLevelTable& DetailLevels();
