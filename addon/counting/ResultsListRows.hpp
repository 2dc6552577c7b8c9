// How the commands that act on the results list tell its rows apart. A type row carries a
// fold icon in its first field and the booking type as its value; a library-part row has no
// icon there, the child marker in its second field, and the address of its row in the
// current count result as its value.
#pragma once

#include "counting/LibRow.hpp"

#include "DG/ListBox.hpp"

#include <cstdint>

namespace ResultsListRows {

inline constexpr short BlankIcon = 32600;
inline constexpr short CollapsedIcon = 32601;
inline constexpr short ExpandedIcon = 32602;
inline constexpr short ChildMarkerIcon = 32603;

inline constexpr short FoldField = 1;
inline constexpr short MarkerField = 2;
inline constexpr short DetailLevelField = 7;

inline bool IsLibPartRow(const DG::ListBox& list, int item)
{
	return list.GetTabItemIcon(item, FoldField).GetResourceId() == DG::Icon::NoResource;
}

// A type row whose parts can be folded out: it stands for all of its type's rows.
inline bool IsFoldableTypeRow(const DG::ListBox& list, int item)
{
	const short icon = list.GetTabItemIcon(item, FoldField).GetResourceId();
	return icon == CollapsedIcon || icon == ExpandedIcon;
}

inline bool HasChildMarker(const DG::ListBox& list, int item)
{
	return list.GetTabItemIcon(item, MarkerField).GetResourceId() == ChildMarkerIcon;
}

// The row a library-part row shows; null for an item without one.
inline const LibRow* RowOf(const DG::ListBox& list, int item)
{
	return reinterpret_cast<const LibRow*>(list.GetItemValue(item));
}

} // namespace ResultsListRows
