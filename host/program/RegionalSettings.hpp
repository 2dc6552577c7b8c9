// The user's regional number settings as the host lets a person choose them: by the name of
// an installed locale, or setting by setting (decimal=, thousands=, grouping=...). The
// command line and the script action of the same name share this one reading.
#pragma once

#include "Host.hpp"

#include <string>
#include <vector>

namespace ReferenceHost {

// One line of help per setting word, for --help and the documentation.
std::string RegionalSettingsHelp();

// Applies "locale=NAME" first, then every other "WORD=VALUE" on top of it, to the user's
// settings of the platform. Nothing changes when any word or value is refused.
Outcome ApplyRegionalSettings(const std::vector<std::string>& assignments);

} // namespace ReferenceHost
