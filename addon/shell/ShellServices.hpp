// Small services of the shell that the rest of the module calls: the menu mark that shows
// whether the palette is shown, the warning beep, and the line-by-line road into the host's
// report window.
#pragma once

#include "HostSdk/HostTypes.hpp"

#include <cstddef>
#include <string_view>

// Sets (shown) or clears the check mark of the module's menu item. The host's answers are
// not looked at: a mark the host cannot show is no reason to stop.
void SetPaletteShownMark(bool shown);

// The short system beep of the exclamation kind.
void SoundWarningBeep();

// The longest line the host's report window takes from the module.
inline constexpr std::size_t ReportLineLimit = 511;

// Hands one line to the host's report window, cut to ReportLineLimit characters and passed
// as literal text ("%" has no special meaning). Answers the host's status.
HostSdk::HostStatus WriteHostReportLine(std::string_view line);
