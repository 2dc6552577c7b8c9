// The small texts the host writes for a person and reads from one: a name in quotes, a count
// of things ("202,001 elements", digits grouped by threes so a large count reads at a glance),
// and the numbers a person types in scripts and project files. Numbers that name something
// (an index, a story, an entry, a code) are written plain, as a person would type them back.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ReferenceHost {

// "Door" becomes "\"Door\"": the text as it stands between double quotes.
std::string Quoted(std::string_view text);

// A count with its digits grouped by threes: 202001 becomes "202,001".
std::string Grouped(std::uint64_t count);

// "no elements", "1 element", "202,001 elements"; the plural is the singular with an "s"
// unless given.
std::string Counted(std::uint64_t count, std::string_view singular, std::string_view plural = {});

// A whole number written in full: decimal, or hexadecimal after "0x", with an optional
// minus. Nothing when the text is anything else or the number does not fit.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

template <std::integral Integer>
std::optional<Integer> ParseWhole(std::string_view text)
{
	const std::optional<std::int64_t> value = ParseWholeNumber(text);
	if (!value || !std::in_range<Integer>(*value))
		return std::nullopt;
	return static_cast<Integer>(*value);
}

// A finite decimal number written in full ("2.5", "-1e3"); nothing for anything else.
std::optional<double> ParseNumber(std::string_view text);

} // namespace ReferenceHost
