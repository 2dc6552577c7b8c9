// Element type names from the module's string list, and the type groups counting relies on.
#include "OwnModuleResources.hpp"

#include "counting/ElementTypes.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using ElementTypeNameTest = ModuleResourcesFixture;

TEST_F(ElementTypeNameTest, NamesEveryKnownType)
{
	const char* const expected[] = {"Zombie", "Wall", "Column", "Beam", "Window", "Door", "Object", "Lamp", "Slab",
		"Roof", "Mesh", "Dimension", "Radial Dimension", "Level Dimension", "Angle Dimension", "Text", "Label", "Zone",
		"Hatch", "Line", "Polyline", "Arc", "Circle", "Spline", "Hotspot", "Cutplane", "Camera", "Camera set", "Group",
		"Element in section window", "Placed drawing", "Picture", "Detail drawing", "Stair"};
	static_assert(std::size(expected) == ElementTypes::NamedCount);
	for (int type = 0; type < ElementTypes::NamedCount; ++type) {
		SCOPED_TRACE(type);
		EXPECT_STREQ(ElementTypeName(type), expected[type]);
	}
}

TEST_F(ElementTypeNameTest, NumbersOutsideTheKnownTypesAreUnnamed)
{
	for (int type : {34, -1, 35, 100, INT_MAX, INT_MIN}) {
		SCOPED_TRACE(type);
		EXPECT_STREQ(ElementTypeName(type), "???");
	}
}

TEST_F(ElementTypeNameTest, OneBufferServesEveryCall)
{
	const char* first = ElementTypeName(1);
	EXPECT_STREQ(first, "Wall");
	const char* second = ElementTypeName(-1);
	EXPECT_EQ(first, second);
	EXPECT_STREQ(first, "???");
	ElementTypeName(5);
	EXPECT_STREQ(first, "Door");
}

TEST_F(ElementTypeNameTest, LeavesTheActiveResourceModuleAsItWas)
{
	ElementTypeName(4);
	EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule);
}

TEST(ElementTypeGroups, LibraryPartTypesAreWindowDoorObjectLamp)
{
	for (int type = -2; type <= 40; ++type) {
		SCOPED_TRACE(type);
		EXPECT_EQ(IsLibPartType(type), type >= 4 && type <= 7);
	}
}

TEST(ElementTypeGroups, RowBearingTypesAddStairs)
{
	for (int type = -2; type <= 40; ++type) {
		SCOPED_TRACE(type);
		EXPECT_EQ(IsRowBearingType(type), (type >= 4 && type <= 7) || type == 33);
	}
	EXPECT_EQ(ElementTypes::RowBearing,
		(std::array<API_ElemTypeID, 5> {
			API_ElemTypeID {4}, API_ElemTypeID {5}, API_ElemTypeID {6}, API_ElemTypeID {7}, API_ElemTypeID {33}}));
}

TEST(ElementTypeGroups, StairObjectsAreBookedUnderStair)
{
	EXPECT_EQ(ElementTypes::StairVariationCode, 0x53595354u);
	EXPECT_EQ(BookingType(6, 0x53595354u), 33);
	EXPECT_EQ(BookingType(6, 0), 6);
	// Byte order matters: the characters read little-endian are no stair.
	EXPECT_EQ(BookingType(6, 0x54535953u), 6);
	// Only objects become stairs.
	for (int type : {4, 5, 7, 1, 33})
		EXPECT_EQ(BookingType(type, 0x53595354u), type);
}

} // namespace
