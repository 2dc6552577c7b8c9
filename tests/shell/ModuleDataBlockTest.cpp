// The module-data block on its own: the walk over a block (whole entries kept, damaged ones
// dropped without reading past the block), and the merge handler's answers to calls the
// reference host never makes.
#include "LeakCheck.hpp"
#include "shell/ModuleDataMerge.hpp"
#include "shell/Preferences.hpp"

#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Contents = std::vector<std::pair<std::string, short>>;

std::string Entries(const std::vector<std::pair<std::string, std::string>>& entries)
{
	std::string bytes;
	for (const auto& [identifier, level] : entries)
		bytes += identifier + '\0' + level + '\0';
	return bytes;
}

// Parses a copy of the bytes in a buffer of exactly their size, so a read past the block's
// end is a read past the buffer (caught by the address sanitizer).
Contents Parse(const std::string& bytes)
{
	const std::unique_ptr<char[]> exact(new char[bytes.empty() ? 1 : bytes.size()]);
	std::copy(bytes.begin(), bytes.end(), exact.get());
	LevelTable table;
	FacetallyModuleData::ParseDataBlock(exact.get(), bytes.size(), table);
	Contents contents;
	for (const auto& entry : table.Pairs())
		contents.emplace_back(entry.GetKey().ToCStr(), entry.GetValue());
	return contents;
}

TEST(ModuleDataBlock, TheWalkKeepsWholeEntriesInOrder)
{
	const std::string whole = Entries({{"A", "1"}, {"B", "2"}});
	const Contents wholeContents {{"A", 1}, {"B", 2}};
	const std::string x255(255, 'x');
	const struct {
		const char* what;
		std::string bytes;
		Contents expected;
	} cases[] = {
		{"each pair in order", Entries({{"B", "0"}, {"A", "4"}, {"K", "1"}}), {{"B", 0}, {"A", 4}, {"K", 1}}},
		{"an empty block", "", {}},
		{"no number first is custom", Entries({{"A", "high"}}), {{"A", 3}}},
		{"no number repeats the level before", Entries({{"A", "1"}, {"B", ""}, {"C", "x"}, {"D", "2"}}),
			{{"A", 1}, {"B", 1}, {"C", 1}, {"D", 2}}},
		{"short decimal numbers", Entries({{"A", " 2"}, {"B", "-1"}, {"C", "4th"}, {"D", "+3"}}),
			{{"A", 2}, {"B", -1}, {"C", 4}, {"D", 3}}},
		{"beyond a short is no level", Entries({{"A", "1"}, {"B", "70000"}, {"C", "-32769"}, {"D", "32767"}}),
			{{"A", 1}, {"B", 1}, {"C", 1}, {"D", 32767}}},
		{"a repeated identifier keeps its first level", Entries({{"A", "1"}, {"B", "2"}, {"A", "0"}}), wholeContents},
		{"ends inside an identifier", whole + "C", wholeContents},
		{"ends after an identifier", whole + std::string("C\0", 2), wholeContents},
		{"ends inside a level",
			whole +
				std::string("C\0"
							"12",
					4),
			wholeContents},
		{"no whole entry",
			std::string("A\0"
						"1",
				3),
			{}},
		{"texts of 255 characters", Entries({{x255, "2"}, {"A", std::string(254, ' ') + "1"}}), {{x255, 2}, {"A", 1}}},
		// Cut to 255 characters the identifier would be the one of the entry after it.
		{"a longer identifier is skipped", Entries({{"A", "1"}, {std::string(256, 'x'), "2"}, {x255, "0"}}),
			{{"A", 1}, {x255, 0}}},
		{"a longer level is skipped", Entries({{"A", "1"}, {"B", std::string(300, '7')}, {"C", "x"}}),
			{{"A", 1}, {"C", 1}}},
		{"a huge text without its zero", Entries({{"A", "1"}}) + std::string(5000, 'y'), {{"A", 1}}},
		{"an empty identifier",
			std::string("\0"
						"2\0"
						"A\0"
						"1\0",
				7),
			{{"", 2}, {"A", 1}}},
	};
	for (const auto& row : cases)
		EXPECT_EQ(Parse(row.bytes), row.expected) << row.what;
}

TEST(ModuleDataBlock, TheMergeHandlerAnswersCallsWithoutBlocksOrPlace)
{
	const LeakCheck leaks;
	const std::string bytes = Entries({{"B", "0"}});
	HostSdk::ModuleDataRecord second {};
	second.dataVersion = 2;
	second.dataHandle = VX::AllocateHandle(bytes.size());
	std::copy(bytes.begin(), bytes.end(), static_cast<char*>(VX::GetHandleData(second.dataHandle)));

	HostSdk::ModuleDataRecord merged {};
	merged.dataHandle = 0x1234;
	EXPECT_EQ(ModuleDataMergeHandler(12, &second, &second, &merged), 0) << "other codes do nothing";
	EXPECT_EQ(merged.dataHandle, 0x1234u);

	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, nullptr, &second, nullptr), 0) << "no place: freed";
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, nullptr, nullptr, &merged), 0);
	ASSERT_NE(merged.dataHandle, VX::NoHandle);
	EXPECT_EQ(VX::GetHandleSize(merged.dataHandle), 0u) << "missing blocks are empty";
	VX::FreeHandle(merged.dataHandle);
	VX::FreeHandle(second.dataHandle);
}

} // namespace
