// The shell's small services: the report line (cut to 511 characters, passed literally), the
// warning beep, and the module's own location, built once for the life of the module.
#include "shell/ShellServices.hpp"
#include "HostTableFixture.hpp"
#include "shell/AddOnLocation.hpp"
#include "shell/ModuleState.hpp"

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

class ReportLineTest : public HostTableFixture {
protected:
	void SetUp() override
	{
		HostTableFixture::SetUp();
		Offer<Entry::ReportLine>([this](ModuleToken, const char* text, std::int32_t flags) {
			lines.push_back(text + std::string(flags == 0 ? "" : " (flags)"));
			return StatusOk;
		});
	}
	std::vector<std::string> lines;
};

TEST_F(ReportLineTest, HandsTheLineOverLiterallyCutTo511Characters)
{
	std::string alphabet;
	for (std::size_t index = 0; index < 2000; ++index)
		alphabet += static_cast<char>('A' + index % 26);
	const struct {
		std::string line;
		std::string handedOver;
	} cases[] = {
		{"Wall          12   1 234", "Wall          12   1 234"},
		{"Window 100%d %s %n %%", "Window 100%d %s %n %%"},
		{"", ""},
		{alphabet.substr(0, 511), alphabet.substr(0, 511)},
		{alphabet.substr(0, 512), alphabet.substr(0, 511)},
		{alphabet, alphabet.substr(0, 511)},
	};
	for (const auto& row : cases) {
		lines.clear();
		EXPECT_EQ(WriteHostReportLine(row.line), 0);
		EXPECT_EQ(lines, std::vector<std::string> {row.handedOver});
	}
	Empty(Entry::ReportLine);
	EXPECT_EQ(WriteHostReportLine("nobody reads this"), 0) << "an empty report entry is no failure";
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
