// The per-type tables. The item codes of the types that add-ons select are the ones our SDK
// gives add-ons for their selection items; the host adds codes of its own (51, 53, 58) for
// camera sets, groups and elements of the stair type, in the gaps between those codes.
#include "ElementTypeTable.hpp"

#include "HostText.hpp"

#include <array>
#include <cctype>

namespace ReferenceHost {

namespace {

constexpr std::array<std::string_view, ElementTypeCount> TypeNames = {"Zombie", "Wall", "Column", "Beam", "Window",
	"Door", "Object", "Lamp", "Slab", "Roof", "Mesh", "Dimension", "Radial Dimension", "Level Dimension",
	"Angle Dimension", "Text", "Label", "Zone", "Hatch", "Line", "Polyline", "Arc", "Circle", "Spline", "Hotspot",
	"Cutplane", "Camera", "Camera set", "Group", "Element in section window", "Placed drawing", "Picture",
	"Detail drawing", "Stair"};

struct ItemCodeRow {
	std::int32_t type;
	std::int32_t itemCode;
	std::int16_t subField;
};

constexpr std::array<ItemCodeRow, 31> ItemCodes = {{
	{1, 1, 1},
	{2, 5, 0},
	{3, 6, 1},
	{4, 10, 0},
	{5, 12, 0},
	{6, 13, 1},
	{7, 14, 1},
	{8, 15, 1},
	{9, 17, 1},
	{10, 20, 1},
	{11, 26, 1},
	{12, 27, 1},
	{13, 28, 1},
	{14, 30, 1},
	{15, 31, 1},
	{16, 32, 1},
	{17, 33, 1},
	{18, 37, 1},
	{19, 39, 1},
	{20, 41, 1},
	{21, 43, 1},
	{22, 45, 1},
	{23, 47, 1},
	{24, 49, 1},
	{25, 50, 1},
	{26, 52, 1},
	{27, 51, 1},
	{28, 53, 1},
	{31, 56, 1},
	{32, 57, 1},
	{33, 58, 1},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
	if (a.size() != b.size())
		return false;
	for (std::size_t i = 0; i < a.size(); ++i)
		if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
			return false;
	return true;
}

} // namespace

std::string_view ElementTypeNameOf(std::int32_t type)
{
	if (type < 0 || type >= ElementTypeCount)
		return {};
	return TypeNames[static_cast<std::size_t>(type)];
}

std::optional<std::int32_t> ElementTypeFromText(std::string_view text)
{
	for (std::size_t type = 0; type < TypeNames.size(); ++type)
		if (EqualIgnoringCase(TypeNames[type], text))
			return static_cast<std::int32_t>(type);
	const std::optional<std::int32_t> number = ParseWhole<std::int32_t>(text);
	if (number && *number >= 0 && *number < ElementTypeCount)
		return number;
	return std::nullopt;
}

std::optional<SelectionItemCode> SelectionItemCodeOf(std::int32_t type)
{
	for (const ItemCodeRow& row : ItemCodes)
		if (row.type == type)
			return SelectionItemCode {row.itemCode, row.subField};
	return std::nullopt;
}

std::optional<std::int32_t> ElementTypeOfItemCode(std::int32_t itemCode)
{
	for (const ItemCodeRow& row : ItemCodes)
		if (row.itemCode == itemCode)
			return row.type;
	return std::nullopt;
}

std::optional<ElementId> ParseElementId(std::string_view text)
{
	const std::size_t colon = text.rfind(':');
	if (colon == std::string_view::npos)
		return std::nullopt;
	const std::optional<std::int32_t> type = ElementTypeFromText(text.substr(0, colon));
	const std::optional<std::int32_t> index = ParseWhole<std::int32_t>(text.substr(colon + 1));
	if (!type || !index || *index < 1)
		return std::nullopt;
	return ElementId {*type, *index};
}

std::string ElementIdText(const ElementId& id)
{
	const std::string_view name = ElementTypeNameOf(id.type);
	return (name.empty() ? std::to_string(id.type) : std::string(name)) + ":" + std::to_string(id.index);
}

} // namespace ReferenceHost
