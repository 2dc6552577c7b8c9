// The results list: the current count result as a foldable table. One row per shown element
// type, and under each unfolded type that uses library parts one row per part, in display
// order. A type row's value is its booking type and it carries the fold icon in field 1; a
// library-part row's value is the address of its row inside the result's sorted rows and it
// carries the child marker in field 2. Five columns (Name, Objects, Polygons, Percent, Detail
// Level) follow the list's width and drop from the right as it narrows. Which types are
// unfolded is kept for as long as the list lives, so it survives every refill.
#pragma once

#include "counting/CountResult.hpp"
#include "counting/ElementTypes.hpp"
#include "counting/ResultsListRows.hpp"
#include "palette/ColumnLayout.hpp"

#include "DG/DG.hpp"
#include "VXRoot/HashTable.hpp"

#include <cstdint>

// The fields and icons the commands also read rows by are defined with them.
namespace SizeListFields {
inline constexpr short FoldIcon = ResultsListRows::FoldField;
inline constexpr short ChildMarker = ResultsListRows::MarkerField;
inline constexpr short Name = 3;
inline constexpr short Objects = 4;
inline constexpr short Polygons = 5;
inline constexpr short Percent = 6;
inline constexpr short DetailLevel = ResultsListRows::DetailLevelField;
inline constexpr short Count = 7;
} // namespace SizeListFields

namespace SizeListIcons {
inline constexpr short Blank = ResultsListRows::BlankIcon;
inline constexpr short Collapsed = ResultsListRows::CollapsedIcon;
inline constexpr short Expanded = ResultsListRows::ExpandedIcon;
inline constexpr short ChildMarker = ResultsListRows::ChildMarkerIcon;
} // namespace SizeListIcons

class SizeList : public DG::MultiSelListBox {
public:
	// The page's items 1 to 5 are the headers (Name, Objects, Polygons, Percent, Detail Level)
	// and item 6 the list. Loads the icons from the module's own resources.
	explicit SizeList(const DG::Panel& page);

	SizeList(const SizeList&) = delete;
	SizeList& operator=(const SizeList&) = delete;

	// Places the columns and the headers for the list's present width.
	void LayoutColumns();
	// Appends a row per shown type of result; the library-part rows of the unfolded types follow
	// their type row. The list is expected to be empty.
	void Fill(const CountResult& result);
	// Shows the library-part rows of the type in row item below it. Rows keep pointers into
	// result, which must be the current count result.
	void Unfold(int item, const CountResult& result);
	// Removes the library-part rows below the type in row item.
	void Fold(int item);
	// Rewrites the Detail Level column of the library-part rows that are not grayed from levels.
	void RefillDetailLevels(const LevelTable& levels);

	bool IsCollapsedRow(int item) const;
	bool IsExpandedRow(int item) const;
	bool IsLibraryPartRow(int item) const;
	bool IsUnfolded(API_ElemTypeID type) const;

	const HeaderExtents& GetHeaderExtents() const { return extents; }

private:
	void AppendTypeRow(API_ElemTypeID type, const CountResult& result);

	DG::Icon collapsedIcon;
	DG::Icon expandedIcon;
	DG::Icon blankIcon;
	DG::Icon childMarkerIcon;
	ColumnRatios ratios {};
	HeaderExtents extents;
	DG::LeftText nameHeader;
	DG::LeftText detailHeader;
	DG::RightText objectsHeader;
	DG::RightText polygonsHeader;
	DG::RightText percentHeader;
	VX::HashTable<API_ElemTypeID, bool> unfolded;
};
