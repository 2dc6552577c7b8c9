// The comparison behind the row order.
#include "counting/RowOrder.hpp"

#include "counting/SignedTextCompare.hpp"

bool RowOrder::operator()(const LibRow& a, const LibRow& b) const
{
	if (a.polygons != b.polygons)
		return a.polygons > b.polygons;
	return CompareSignedBytes(a.guid.View(), b.guid.View()) > 0;
}
