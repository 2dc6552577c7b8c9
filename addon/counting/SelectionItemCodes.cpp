// The host's selection item codes per element type.
#include "counting/SelectionItemCodes.hpp"

#include <array>

namespace {

struct TypeCode {
	std::int32_t type;
	SelectionItemCode item;
};

constexpr std::array<TypeCode, 28> Codes {{
	{1, {1, 1}},
	{2, {5, 0}},
	{3, {6, 1}},
	{4, {10, 0}},
	{5, {12, 0}},
	{6, {13, 1}},
	{7, {14, 1}},
	{8, {15, 1}},
	{9, {17, 1}},
	{10, {20, 1}},
	{11, {26, 1}},
	{12, {27, 1}},
	{13, {28, 1}},
	{14, {30, 1}},
	{15, {31, 1}},
	{16, {32, 1}},
	{17, {33, 1}},
	{18, {37, 1}},
	{19, {39, 1}},
	{20, {41, 1}},
	{21, {43, 1}},
	{22, {45, 1}},
	{23, {47, 1}},
	{24, {49, 1}},
	{25, {50, 1}},
	{26, {52, 1}},
	{31, {56, 1}},
	{32, {57, 1}},
}};

} // namespace

std::optional<SelectionItemCode> SelectionItemCodeOf(std::int32_t elementType)
{
	for (const TypeCode& entry : Codes)
		if (entry.type == elementType)
			return entry.item;
	return std::nullopt;
}
