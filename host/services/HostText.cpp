// The texts of HostText.hpp.
#include "HostText.hpp"

#include <charconv>
#include <cmath>

namespace ReferenceHost {

std::string Quoted(std::string_view text)
{
	return "\"" + std::string(text) + "\"";
}

std::string Grouped(std::uint64_t count)
{
	std::string digits = std::to_string(count);
	for (std::size_t position = digits.size(); position > 3; position -= 3)
		digits.insert(position - 3, ",");
	return digits;
}

std::string Counted(std::uint64_t count, std::string_view singular, std::string_view plural)
{
	const std::string many = plural.empty() ? std::string(singular) + "s" : std::string(plural);
	if (count == 0)
		return "no " + many;
	return Grouped(count) + " " + (count == 1 ? std::string(singular) : many);
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text)
{
	bool negative = false;
	if (!text.empty() && text.front() == '-') {
		negative = true;
		text.remove_prefix(1);
	}
	int base = 10;
	if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
		base = 16;
		text.remove_prefix(2);
	}
	std::uint64_t magnitude = 0;
	const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
	if (text.empty() || error != std::errc() || end != text.data() + text.size())
		return std::nullopt;
	constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
	if (negative)
		return magnitude <= largest + 1 ? std::optional<std::int64_t>(static_cast<std::int64_t>(0 - magnitude))
										: std::nullopt;
	return magnitude <= largest ? std::optional<std::int64_t>(static_cast<std::int64_t>(magnitude)) : std::nullopt;
}

std::optional<double> ParseNumber(std::string_view text)
{
	double value = 0;
	const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
	if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
		return std::nullopt;
	return value;
}

} // namespace ReferenceHost
