// The shell's small services against a fake host table: the report line (cut to 511
// characters, passed literally), the menu mark (read, change one bit, write back), the warning
// beep, and the module's own location, built once for the life of the module.
#include "shell/AddOnLocation.hpp"
#include "shell/ModuleState.hpp"
#include "shell/ShellServices.hpp"

#include "HostSdk/HostApi.hpp"
#include "IO/Location.hpp"
#include "Win/Windows.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace HostSdk;

class FakeHost {
public:
	static inline std::vector<std::string> reportLines;
	static inline std::vector<std::int32_t> reportFlags;
	static inline std::vector<std::uint32_t> selectors;
	static inline std::uint32_t itemFlags = 0;
	static inline MenuItemRef lastItem {};
	static inline HostStatus getFlagsAnswer = 0;

	static HostStatus ReportLine(ModuleToken, const char* text, std::int32_t flags)
	{
		reportLines.emplace_back(text);
		reportFlags.push_back(flags);
		return 0;
	}

	static HostStatus Interface(ModuleToken, std::uint32_t selector, void* first, void* second)
	{
		selectors.push_back(selector);
		lastItem = *static_cast<const MenuItemRef*>(first);
		if (selector == Selectors::GetMenuItemFlags) {
			if (getFlagsAnswer != 0)
				return getFlagsAnswer;
			*static_cast<std::uint32_t*>(second) = itemFlags;
		} else if (selector == Selectors::SetMenuItemFlags) {
			itemFlags = *static_cast<const std::uint32_t*>(second);
		}
		return 0;
	}

	static void Install()
	{
		reportLines.clear();
		reportFlags.clear();
		selectors.clear();
		itemFlags = 0;
		getFlagsAnswer = 0;
		Module().hostTable.fill(nullptr);
		Module().hostTable[Entry::ReportLine] = reinterpret_cast<HostFunction>(&ReportLine);
		Module().hostTable[Entry::Interface] = reinterpret_cast<HostFunction>(&Interface);
		Module().token = 99;
	}
};

class ReportLineTest : public ::testing::Test {
protected:
	void SetUp() override { FakeHost::Install(); }
	void TearDown() override { Module().hostTable.fill(nullptr); }
};

TEST_F(ReportLineTest, HandsTheLineOverAsItStandsWithSecondArgumentZero)
{
	EXPECT_EQ(WriteHostReportLine("Wall          12   1 234"), 0);
	ASSERT_EQ(FakeHost::reportLines.size(), 1u);
	EXPECT_EQ(FakeHost::reportLines[0], "Wall          12   1 234");
	EXPECT_EQ(FakeHost::reportFlags[0], 0);
}

TEST_F(ReportLineTest, PercentSignsHaveNoSpecialMeaning)
{
	WriteHostReportLine("Window 100%d %s %n %%");
	ASSERT_EQ(FakeHost::reportLines.size(), 1u);
	EXPECT_EQ(FakeHost::reportLines[0], "Window 100%d %s %n %%");
}

TEST_F(ReportLineTest, CutsLongLinesTo511Characters)
{
	for (const std::size_t length : {0u, 1u, 510u, 511u, 512u, 2000u}) {
		SCOPED_TRACE(length);
		FakeHost::reportLines.clear();
		std::string line;
		for (std::size_t index = 0; index < length; ++index)
			line += static_cast<char>('A' + index % 26);
		WriteHostReportLine(line);
		ASSERT_EQ(FakeHost::reportLines.size(), 1u);
		EXPECT_EQ(FakeHost::reportLines[0], line.substr(0, 511));
	}
}

TEST_F(ReportLineTest, AnEmptyViewWritesAnEmptyLine)
{
	WriteHostReportLine({});
	ASSERT_EQ(FakeHost::reportLines.size(), 1u);
	EXPECT_EQ(FakeHost::reportLines[0], "");
}

TEST_F(ReportLineTest, AnEmptyReportEntryIsNoFailure)
{
	Module().hostTable[Entry::ReportLine] = nullptr;
	EXPECT_EQ(WriteHostReportLine("nobody reads this"), 0);
	EXPECT_TRUE(FakeHost::reportLines.empty());
}

class PaletteShownMarkTest : public ReportLineTest {};

TEST_F(PaletteShownMarkTest, SetsAndClearsOnlyTheCheckBitOfTheModulesItem)
{
	FakeHost::itemFlags = 0x101;
	SetPaletteShownMark(true);
	EXPECT_EQ(FakeHost::itemFlags, 0x103u);
	EXPECT_EQ(FakeHost::lastItem.menuStringListId, 32500);
	EXPECT_EQ(FakeHost::lastItem.itemIndex, 1);
	SetPaletteShownMark(true);
	EXPECT_EQ(FakeHost::itemFlags, 0x103u);
	SetPaletteShownMark(false);
	EXPECT_EQ(FakeHost::itemFlags, 0x101u);
	SetPaletteShownMark(false);
	EXPECT_EQ(FakeHost::itemFlags, 0x101u);
	EXPECT_EQ(FakeHost::selectors,
			  (std::vector<std::uint32_t> {Selectors::GetMenuItemFlags, Selectors::SetMenuItemFlags,
										   Selectors::GetMenuItemFlags, Selectors::SetMenuItemFlags,
										   Selectors::GetMenuItemFlags, Selectors::SetMenuItemFlags,
										   Selectors::GetMenuItemFlags, Selectors::SetMenuItemFlags}));
}

TEST_F(PaletteShownMarkTest, WritesTheMarkEvenWhenTheFlagsCannotBeRead)
{
	// The host's answers are not looked at: the mark is written from cleared flags.
	FakeHost::itemFlags = 0x40;
	FakeHost::getFlagsAnswer = StatusRefused;
	SetPaletteShownMark(true);
	EXPECT_EQ(FakeHost::itemFlags, 0x2u);
}

TEST_F(PaletteShownMarkTest, WithoutTheInterfaceEntryNothingIsCalled)
{
	Module().hostTable[Entry::Interface] = nullptr;
	SetPaletteShownMark(true);
	EXPECT_TRUE(FakeHost::selectors.empty());
}

TEST(WarningBeepTest, SoundsTheExclamationBeep)
{
	std::vector<UINT> kinds;
	const Win::BeepObserver previous = Win::SetBeepObserver([&kinds](UINT kind) { kinds.push_back(kind); });
	const std::size_t before = Win::GetBeepCount();
	SoundWarningBeep();
	SoundWarningBeep();
	Win::SetBeepObserver(previous);
	EXPECT_EQ(Win::GetBeepCount(), before + 2);
	EXPECT_EQ(kinds, (std::vector<UINT> {0x30, 0x30}));
}

// The location is built once per loaded module, so each case runs in a process of its own.
TEST(AddOnLocationTest, IsTheModuleFileBuiltOnceForTheModulesLife)
{
	EXPECT_EXIT(
		{
			std::strcpy(Module().modulePath, "/opt/host/addons/Facetally.addon");
			IO::Location location;
			bool ok = AddOnLocation(location) == 0 && location.ToPath() == "/opt/host/addons/Facetally.addon";
			// A later change of the path is not seen: the location was built on the first call.
			std::strcpy(Module().modulePath, "/elsewhere/Other.addon");
			IO::Location again;
			ok = ok && AddOnLocation(again) == 0 && again == location;
			std::exit(ok ? 0 : 1);
		},
		::testing::ExitedWithCode(0), "");
}

TEST(AddOnLocationTest, AnUnknownModulePathClearsTheLocationAndAnswers0x81060385)
{
	EXPECT_EXIT(
		{
			Module().modulePath[0] = '\0';
			IO::Location location("/some/earlier/place");
			bool ok = AddOnLocation(location) == StatusNoModuleLocation && location.ToPath().IsEmpty();
			// Still unavailable at the next call.
			IO::Location again("/another/place");
			ok = ok && AddOnLocation(again) == StatusNoModuleLocation && again.ToPath().IsEmpty();
			std::exit(ok ? 0 : 1);
		},
		::testing::ExitedWithCode(0), "");
}

} // namespace
