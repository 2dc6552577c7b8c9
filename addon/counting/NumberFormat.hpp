// Counts and percentages as the user writes numbers: digit grouping, separators and number
// of decimals from the user's regional settings, read afresh at every call. Both functions
// share process-wide text buffers, so they are not re-entrant.
#pragma once

#include "VX/String.hpp"

#include <cstdint>

// A count, grouped as the user groups digits, without decimals and never with a sign.
VX::String FormatCount(std::uint32_t value);

// A percentage with the user's own decimals, grouping and separators, and "%" straight after.
VX::String FormatPercent(double value);
