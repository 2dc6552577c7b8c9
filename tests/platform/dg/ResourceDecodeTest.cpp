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

TEST_F(DialogDecoding, NegativePositionsAreSignedAndPaddingAndMissingItemListsAccepted)
{
	auto dialog = DG::DecodeDialog(Header(10, 10, 1, "t").data, Bytes().Item(3, -5, -7, 10, 10, 0, "x").data);
	ASSERT_TRUE(dialog.has_value());
	EXPECT_EQ(dialog->items[0].rect, DG::Rect::FromSize(-5, -7, 10, 10));
	EXPECT_TRUE(DG::DecodeDialog(Header(100, 50, 0, "Empty").data, {}).has_value());
	items.data.insert(items.data.end(), {0, 0, 0});
	header.data.push_back(0);
	EXPECT_TRUE(DG::DecodeDialog(header.data, items.data).has_value());
}

TEST_F(DialogDecoding, DamagedDialogsAreRefusedWithAReason)
{
	struct Case {
		std::string what;
		std::vector<std::uint8_t> header;
		std::vector<std::uint8_t> items;
		std::string problemMentions;
	};
	std::vector<Case> cases {
		{"more items than the header says", header.data, Bytes(items).Item(1, 0, 0, 1, 1, 0, "extra").data,
			"more than"},
		{"unknown kind", Header(10, 10, 2, "t").data,
			Bytes().Item(1, 0, 0, 1, 1, 0, "a").Item(13, 0, 0, 1, 1, 0, "b").data, "item 2"},
		{"negative size", Header(10, 10, 1, "t").data, Bytes().Item(1, 0, 0, -1, 10, 0, "a").data, ""},
		{"beyond the coordinate range", Header(10, 10, 1, "t").data, Bytes().Item(1, 32000, 0, 1000, 10, 0, "a").data,
			""},
		{"reserved field set", Bytes().U16(10).U16(10).U16(0).U16(1).Text("t").data, {}, ""},
		{"dialog too wide", Header(40000, 10, 0, "t").data, {}, ""},
	};
	// Every cut of either part is refused, never read past its end.
	for (std::size_t length = 0; length < items.data.size(); ++length)
		cases.push_back({"items cut to " + std::to_string(length), header.data,
			{items.data.begin(), items.data.begin() + static_cast<std::ptrdiff_t>(length)}, ""});
	for (std::size_t length = 0; length < header.data.size(); ++length)
		cases.push_back({"header cut to " + std::to_string(length),
			{header.data.begin(), header.data.begin() + static_cast<std::ptrdiff_t>(length)}, items.data, ""});
	for (const Case& row : cases) {
		SCOPED_TRACE(row.what);
		std::string problem;
		EXPECT_FALSE(DG::DecodeDialog(row.header, row.items, &problem).has_value());
		EXPECT_FALSE(problem.empty());
		EXPECT_NE(problem.find(row.problemMentions), std::string::npos) << problem;
	}
}

TEST(IconDecoding, ReadsSizeAndGlyphAndRefusesShortOrUnterminatedIcons)
{
	Bytes icon;
	icon.U16(16).U16(12).Text(">");
	auto decoded = DG::DecodeIcon(icon.data);
	ASSERT_TRUE(decoded.has_value());
	EXPECT_EQ(decoded->width, 16);
	EXPECT_EQ(decoded->height, 12);
	EXPECT_EQ(decoded->glyph, ">");
	icon.data.pop_back();
	std::string problem;
	EXPECT_FALSE(DG::DecodeIcon(icon.data, &problem).has_value());
	EXPECT_NE(problem.find("terminating zero"), std::string::npos);
	EXPECT_FALSE(DG::DecodeIcon(Bytes().U16(16).data).has_value());
}

} // namespace
