// The menu mark, the warning beep and the report line.
#include "shell/ShellServices.hpp"

#include "shell/HostCalls.hpp"
#include "shell/ModuleIdentity.hpp"

#include "Win/Windows.hpp"

#include <algorithm>
#include <cstring>

void SetPaletteShownMark(bool shown)
{
	HostSdk::MenuItemRef item {ModuleIdentity::MenuStringList, ModuleIdentity::MenuItemIndex};
	std::uint32_t flags = 0;
	HostCalls::GetMenuItemFlags(&item, &flags);
	if (shown) {
		flags |= HostSdk::MenuItemCheckedFlag;
	} else {
		flags &= ~HostSdk::MenuItemCheckedFlag;
	}
	HostCalls::SetMenuItemFlags(&item, &flags);
}

void SoundWarningBeep()
{
	MessageBeep(MB_ICONEXCLAMATION);
}

HostSdk::HostStatus WriteHostReportLine(std::string_view line)
{
	char text[ReportLineLimit + 1];
	// An empty view may carry no data pointer at all.
	const std::size_t length = std::min(line.size(), ReportLineLimit);
	if (length > 0) {
		std::memcpy(text, line.data(), length);
	}
	text[length] = '\0';
	return HostCalls::WriteReportLine(text, 0);
}
