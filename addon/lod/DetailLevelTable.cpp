// The name order of the detail-level table and the add-on's one instance of it.
#include "lod/DetailLevelTable.hpp"

#include "counting/SignedTextCompare.hpp"

namespace {

// Built at load, before anything can read the file into it, and kept until unload.
DetailLevelTable detailLevels;

} // namespace

bool DetailLevelNameOrder::operator()(const VX::String& a, const VX::String& b) const
{
	return CompareSignedBytes(a.View(), b.View()) < 0;
}

void DetailLevelTable::Add(const VX::String& name, Row row)
{
	// A multimap inserts an equal key after those already there.
	rows.emplace(name, std::move(row));
}

DetailLevelTable& DetailLevels()
{
	return detailLevels;
}
