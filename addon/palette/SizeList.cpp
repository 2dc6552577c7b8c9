// The results list: building it with its icons and headers, the column layout, filling,
// folding and unfolding. Folding and unfolding move a type's rows in one step each, so a type
// with tens of thousands of library parts unfolds in time linear in them.
#include "palette/SizeList.hpp"

#include "counting/NumberFormat.hpp"
#include "counting/Percentages.hpp"
#include "lod/LevelCodes.hpp"
#include "shell/ResourceModuleScope.hpp"

#include <algorithm>
#include <climits>

namespace {

namespace Items {
inline constexpr short NameHeader = 1;
inline constexpr short ObjectsHeader = 2;
inline constexpr short PolygonsHeader = 3;
inline constexpr short PercentHeader = 4;
inline constexpr short DetailHeader = 5;
inline constexpr short List = 6;
} // namespace Items

DG::Icon LoadIcon(short id)
{
	return DG::Icon(DG::ActiveResourceModule, id);
}

short ToShort(std::int32_t value)
{
	return static_cast<short>(std::clamp<std::int32_t>(value, SHRT_MIN, SHRT_MAX));
}

VX::String CountText(std::int32_t value)
{
	return FormatCount(static_cast<std::uint32_t>(std::max(0, value)));
}

VX::String PercentText(std::int32_t polygons, std::int32_t total)
{
	return FormatPercent(PolygonPercentage(polygons, total));
}

// A row is shown grayed when its level cannot be switched to "Detailed" from the list: no
// parameter, a lock, or no "Detailed" offered.
bool IsGrayed(const LibRow& row)
{
	return row.lod >= LevelCodes::NoParameter || row.lockFlags != 0 || !row.available[LevelCodes::Detailed];
}

const std::vector<LibRow>* RowsOf(const CountResult& result, API_ElemTypeID type)
{
	return result.sortedRows.ContainsKey(type) ? &result.sortedRows[type] : nullptr;
}

} // namespace

SizeList::SizeList(const DG::Panel& page)
	: DG::MultiSelListBox(page, Items::List), nameHeader(page, Items::NameHeader),
	  detailHeader(page, Items::DetailHeader), objectsHeader(page, Items::ObjectsHeader),
	  polygonsHeader(page, Items::PolygonsHeader), percentHeader(page, Items::PercentHeader)
{
	const DG::Rect name = nameHeader.GetRect();
	const std::int32_t x1 = name.left;
	extents.nameWidth = name.GetWidth();
	extents.objectsEnd = objectsHeader.GetRect().right - x1;
	extents.polygonsEnd = polygonsHeader.GetRect().right - x1;
	extents.percentEnd = percentHeader.GetRect().right - x1;
	extents.detailEnd = detailHeader.GetRect().right - x1;
	nameHeader.Show();
	objectsHeader.Show();
	polygonsHeader.Show();
	percentHeader.Show();
	detailHeader.Show();

	{
		const ResourceModuleScope scope;
		blankIcon = LoadIcon(SizeListIcons::Blank);
		collapsedIcon = LoadIcon(SizeListIcons::Collapsed);
		expandedIcon = LoadIcon(SizeListIcons::Expanded);
		childMarkerIcon = LoadIcon(SizeListIcons::ChildMarker);
	}

	SetTabFieldCount(SizeListFields::Count);
	ratios = ComputeColumnRatios(extents);
	SetTabFieldProperties(SizeListFields::FoldIcon, 0, 16, Left, NoTruncate);
	SetTabFieldProperties(SizeListFields::ChildMarker, 8, 24, Left, NoTruncate);
	SetTabFieldBeginPosition(SizeListFields::Name, NameFieldBegin);
	LayoutColumns();
	SetTabFieldJustification(SizeListFields::Objects, Right);
	SetTabFieldJustification(SizeListFields::Polygons, Right);
	SetTabFieldJustification(SizeListFields::Percent, Right);
	SetTabFieldTruncation(SizeListFields::DetailLevel, MiddleTruncate);
	SetTabFieldTruncation(SizeListFields::Name, EndTruncate);
	for (API_ElemTypeID type : ElementTypes::RowBearing)
		unfolded.Add(type, false);
}

void SizeList::LayoutColumns()
{
	const short x0 = GetPosition().x;
	const ColumnLayout layout = ComputeColumnLayout(extents, ratios, GetItemWidth() - 1);
	DG::Item* headers[] = {&nameHeader, &objectsHeader, &polygonsHeader, &percentHeader, &detailHeader};
	for (std::size_t c = 0; c < layout.fields.size(); ++c) {
		const short field = static_cast<short>(SizeListFields::Name + c);
		const FieldSpan span = layout.fields[c];
		SetTabFieldEndPosition(field, ToShort(span.end));
		SetTabFieldBeginPosition(field, ToShort(span.begin));
		DG::Item& header = *headers[c];
		if (!layout.visible[c]) {
			header.Hide();
			continue;
		}
		DG::Rect rect = header.GetRect();
		rect.left = ToShort(x0 + span.begin);
		rect.right = ToShort(x0 + span.end);
		header.SetRect(rect);
		header.Show();
	}
}

void SizeList::AppendTypeRow(API_ElemTypeID type, const CountResult& result)
{
	AppendItem();
	const int item = GetItemCount();
	const std::size_t t = static_cast<std::size_t>(type);
	SetTabItemIcon(item, SizeListFields::FoldIcon, blankIcon);
	SetTabItemText(item, SizeListFields::Name, ElementTypeName(type));
	SetTabItemText(item, SizeListFields::Objects, CountText(result.elementsPerType[t]).View());
	SetTabItemText(item, SizeListFields::Polygons, CountText(result.polygonsPerType[t]).View());
	SetTabItemText(item, SizeListFields::Percent, PercentText(result.polygonsPerType[t], result.totalPolygons).View());
	SetItemValue(item, static_cast<std::uintptr_t>(type));
	GrayItem(item);
}

void SizeList::Fill(const CountResult& result)
{
	LayoutColumns();
	for (API_ElemTypeID type : ElementTypes::Shown) {
		AppendTypeRow(type, result);
		if (!IsRowBearingType(type))
			continue;
		const std::vector<LibRow>* rows = RowsOf(result, type);
		if (rows == nullptr || rows->empty())
			continue;
		if (IsUnfolded(type))
			Unfold(GetItemCount(), result);
		else
			SetTabItemIcon(GetItemCount(), SizeListFields::FoldIcon, collapsedIcon);
	}
}

void SizeList::Unfold(int item, const CountResult& result)
{
	const auto type = static_cast<API_ElemTypeID>(GetItemValue(item));
	const std::vector<LibRow>* rows = RowsOf(result, type);
	if (rows == nullptr || item < 1 || item > GetItemCount())
		return;
	const int count =
		static_cast<int>(std::min<std::size_t>(rows->size(), static_cast<std::size_t>(INT_MAX - GetItemCount())));
	InsertItems(item + 1, count);
	for (int k = 0; k < count; ++k) {
		const LibRow& row = (*rows)[static_cast<std::size_t>(k)];
		const int at = item + 1 + k;
		SetTabItemIcon(at, SizeListFields::ChildMarker, childMarkerIcon);
		SetTabItemText(at, SizeListFields::Name, row.name.View());
		SetTabItemText(at, SizeListFields::Objects, CountText(row.objects).View());
		SetTabItemText(at, SizeListFields::Polygons, CountText(row.polygons).View());
		SetTabItemText(at, SizeListFields::Percent, PercentText(row.polygons, result.totalPolygons).View());
		SetItemValue(at, reinterpret_cast<std::uintptr_t>(&row));
		if (row.lod < LevelCodes::NoParameter)
			SetTabItemText(at, SizeListFields::DetailLevel, LevelName(row.lod));
		if (IsGrayed(row))
			GrayItem(at);
	}
	SetTabItemIcon(item, SizeListFields::FoldIcon, expandedIcon);
	unfolded.Put(type, true);
}

void SizeList::Fold(int item)
{
	if (item < 1 || item > GetItemCount())
		return;
	int children = 0;
	while (item + children < GetItemCount() && IsLibraryPartRow(item + children + 1))
		++children;
	if (children > 0)
		DeleteItems(item + 1, children);
	SetTabItemIcon(item, SizeListFields::FoldIcon, collapsedIcon);
	unfolded.Put(static_cast<API_ElemTypeID>(GetItemValue(item)), false);
}

void SizeList::RefillDetailLevels(const LevelTable& levels)
{
	const int count = GetItemCount();
	for (int item = 1; item <= count; ++item) {
		if (!IsLibraryPartRow(item) || IsItemGrayed(item))
			continue;
		const auto* row = reinterpret_cast<const LibRow*>(GetItemValue(item));
		short level = 0;
		if (row != nullptr && levels.Get(row->guid, &level))
			SetTabItemText(item, SizeListFields::DetailLevel, LevelName(level));
	}
}

bool SizeList::IsCollapsedRow(int item) const
{
	return GetTabItemIcon(item, SizeListFields::FoldIcon).GetResourceId() == SizeListIcons::Collapsed;
}

bool SizeList::IsExpandedRow(int item) const
{
	return GetTabItemIcon(item, SizeListFields::FoldIcon).GetResourceId() == SizeListIcons::Expanded;
}

bool SizeList::IsLibraryPartRow(int item) const
{
	return ResultsListRows::HasChildMarker(*this, item);
}

bool SizeList::IsUnfolded(API_ElemTypeID type) const
{
	bool state = false;
	return unfolded.Get(type, &state) && state;
}
