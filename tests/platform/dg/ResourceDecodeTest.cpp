// Decoding dialog and icon resources from bytes built here: the layout as documented, and
// damaged resources refused with a reason, never read past their end.
#include "DG/ResourceFormat.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class Bytes {
public:
	Bytes& U16(std::uint16_t value)
	{
		data.push_back(static_cast<std::uint8_t>(value & 0xFF));
		data.push_back(static_cast<std::uint8_t>(value >> 8));
		return *this;
	}
	Bytes& I16(short value) { return U16(static_cast<std::uint16_t>(value)); }
	Bytes& Text(const std::string& text)
	{
		data.insert(data.end(), text.begin(), text.end());
		data.push_back(0);
		return *this;
	}
	Bytes& Item(std::uint16_t kind, short x, short y, short w, short h, std::uint16_t group, const std::string& text,
		const std::string& minimum = "", const std::string& maximum = "")
	{
		return U16(kind).I16(x).I16(y).I16(w).I16(h).U16(group).Text(text).Text(minimum).Text(maximum);
	}
	std::vector<std::uint8_t> data;
};

Bytes Header(std::uint16_t width, std::uint16_t height, std::uint16_t count, const std::string& title)
{
	Bytes header;
	header.U16(width).U16(height).U16(count).U16(0).Text(title);
	return header;
}

class DialogDecoding : public ::testing::Test {
protected:
	Bytes header = Header(450, 130, 3, "Facetally error");
	Bytes items = Bytes()
		.Item(1, 180, 93, 90, 24, 0, "OK")
		.Item(8, 127, 20, 35, 18, 0, "", "-1000", "1000")
		.Item(7, 10, 3, 110, 18, 1, "All stories");
};

TEST_F(DialogDecoding, ReadsSizeTitleAndEveryItemField)
{
	std::string problem;
	auto dialog = DG::DecodeDialog(header.data, items.data, &problem);
	ASSERT_TRUE(dialog.has_value()) << problem;
	EXPECT_EQ(dialog->width, 450);
	EXPECT_EQ(dialog->height, 130);
	EXPECT_EQ(dialog->title, "Facetally error");
	ASSERT_EQ(dialog->items.size(), 3u);
	EXPECT_EQ(dialog->items[0].kind, DG::ItemKind::Button);
	EXPECT_EQ(dialog->items[0].rect, DG::Rect::FromSize(180, 93, 90, 24));
	EXPECT_EQ(dialog->items[0].text, "OK");
	EXPECT_EQ(dialog->items[1].kind, DG::ItemKind::IntEdit);
	EXPECT_EQ(dialog->items[1].minimum, "-1000");
	EXPECT_EQ(dialog->items[1].maximum, "1000");
	EXPECT_EQ(dialog->items[2].kind, DG::ItemKind::RadioButton);
	EXPECT_EQ(dialog->items[2].radioGroup, 1);
	EXPECT_EQ(dialog->items[2].text, "All stories");
}

TEST_F(DialogDecoding, NegativePositionsAreSigned)
{
	Bytes list = Bytes().Item(3, -5, -7, 10, 10, 0, "x");
	auto dialog = DG::DecodeDialog(Header(10, 10, 1, "t").data, list.data);
	ASSERT_TRUE(dialog.has_value());
	EXPECT_EQ(dialog->items[0].rect.left, -5);
	EXPECT_EQ(dialog->items[0].rect.top, -7);
}

TEST_F(DialogDecoding, PaddingZerosAfterTheLastItemAreAccepted)
{
	items.data.insert(items.data.end(), { 0, 0, 0 });
	header.data.push_back(0);
	EXPECT_TRUE(DG::DecodeDialog(header.data, items.data).has_value());
}

TEST_F(DialogDecoding, EveryShortenedItemListIsRefused)
{
	for (std::size_t length = 0; length < items.data.size(); ++length) {
		SCOPED_TRACE("item list cut to " + std::to_string(length) + " bytes");
		std::vector<std::uint8_t> cut(items.data.begin(), items.data.begin() + static_cast<std::ptrdiff_t>(length));
		std::string problem;
		EXPECT_FALSE(DG::DecodeDialog(header.data, cut, &problem).has_value());
		EXPECT_FALSE(problem.empty());
	}
}

TEST_F(DialogDecoding, EveryShortenedHeaderIsRefused)
{
	for (std::size_t length = 0; length < header.data.size(); ++length) {
		SCOPED_TRACE("header cut to " + std::to_string(length) + " bytes");
		std::vector<std::uint8_t> cut(header.data.begin(), header.data.begin() + static_cast<std::ptrdiff_t>(length));
		EXPECT_FALSE(DG::DecodeDialog(cut, items.data).has_value());
	}
}

TEST_F(DialogDecoding, MoreItemsThanTheHeaderSaysAreRefused)
{
	items.Item(1, 0, 0, 1, 1, 0, "extra");
	std::string problem;
	EXPECT_FALSE(DG::DecodeDialog(header.data, items.data, &problem).has_value());
	EXPECT_NE(problem.find("more than"), std::string::npos) << problem;
}

TEST_F(DialogDecoding, UnknownKindIsRefusedNamingTheItem)
{
	Bytes list = Bytes().Item(1, 0, 0, 1, 1, 0, "a").Item(13, 0, 0, 1, 1, 0, "b");
	std::string problem;
	EXPECT_FALSE(DG::DecodeDialog(Header(10, 10, 2, "t").data, list.data, &problem).has_value());
	EXPECT_NE(problem.find("item 2"), std::string::npos) << problem;
	EXPECT_NE(problem.find("13"), std::string::npos) << problem;
}

TEST_F(DialogDecoding, NegativeSizeIsRefused)
{
	Bytes list = Bytes().Item(1, 0, 0, -1, 10, 0, "a");
	EXPECT_FALSE(DG::DecodeDialog(Header(10, 10, 1, "t").data, list.data).has_value());
}

TEST_F(DialogDecoding, RectangleBeyondTheCoordinateRangeIsRefused)
{
	Bytes list = Bytes().Item(1, 32000, 0, 1000, 10, 0, "a");
	EXPECT_FALSE(DG::DecodeDialog(Header(10, 10, 1, "t").data, list.data).has_value());
}

TEST_F(DialogDecoding, NonZeroReservedFieldIsRefused)
{
	Bytes bad;
	bad.U16(10).U16(10).U16(0).U16(1).Text("t");
	EXPECT_FALSE(DG::DecodeDialog(bad.data, {}).has_value());
}

TEST_F(DialogDecoding, DialogWiderThanTheCoordinateRangeIsRefused)
{
	EXPECT_FALSE(DG::DecodeDialog(Header(40000, 10, 0, "t").data, {}).has_value());
}

TEST_F(DialogDecoding, DialogWithoutItemsNeedsNoItemList)
{
	auto dialog = DG::DecodeDialog(Header(100, 50, 0, "Empty").data, {});
	ASSERT_TRUE(dialog.has_value());
	EXPECT_TRUE(dialog->items.empty());
}

TEST(IconDecoding, ReadsSizeAndGlyph)
{
	Bytes icon;
	icon.U16(16).U16(12).Text(">");
	auto decoded = DG::DecodeIcon(icon.data);
	ASSERT_TRUE(decoded.has_value());
	EXPECT_EQ(decoded->width, 16);
	EXPECT_EQ(decoded->height, 12);
	EXPECT_EQ(decoded->glyph, ">");
}

TEST(IconDecoding, GlyphWithoutTerminatingZeroIsRefused)
{
	Bytes icon;
	icon.U16(16).U16(12);
	icon.data.push_back('>');
	std::string problem;
	EXPECT_FALSE(DG::DecodeIcon(icon.data, &problem).has_value());
	EXPECT_NE(problem.find("terminating zero"), std::string::npos);
}

TEST(IconDecoding, ShortIconIsRefused)
{
	Bytes icon;
	icon.U16(16);
	EXPECT_FALSE(DG::DecodeIcon(icon.data).has_value());
}

} // namespace
