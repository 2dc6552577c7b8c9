// VX::Guid: a 128-bit identifier with its braced text form
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits of either case on input).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace VX {

class Guid {
public:
	Guid() = default;
	// Parses the braced (or bare) text form; an unparsable text gives the null guid.
	explicit Guid(const char* text);

	bool IsNull() const;
	// Upper-case braced text form.
	std::string ToText() const;
	const std::array<std::uint8_t, 16>& Bytes() const { return bytes; }

	friend bool operator==(const Guid& a, const Guid& b) { return a.bytes == b.bytes; }

	// Parses into out; false (out unchanged) when the text is not a guid.
	static bool Parse(const char* text, Guid& out);

private:
	std::array<std::uint8_t, 16> bytes {};
};

} // namespace VX
