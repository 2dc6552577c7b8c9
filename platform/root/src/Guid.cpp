// Parsing and formatting of the braced guid text form.
#include "VX/Guid.hpp"

#include <cstring>

namespace VX {

namespace {
int HexValue(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}
} // namespace

Guid::Guid(const char* text)
{
	Parse(text, *this);
}

bool Guid::IsNull() const
{
	for (std::uint8_t b : bytes)
		if (b != 0)
			return false;
	return true;
}

bool Guid::Parse(const char* text, Guid& out)
{
	if (text == nullptr)
		return false;
	std::size_t length = std::strlen(text);
	bool braced = length == 38 && text[0] == '{' && text[37] == '}';
	if (!braced && length != 36)
		return false;
	const char* p = braced ? text + 1 : text;
	std::array<std::uint8_t, 16> parsed {};
	std::size_t byteIndex = 0;
	for (std::size_t i = 0; i < 36;) {
		if (i == 8 || i == 13 || i == 18 || i == 23) {
			if (p[i] != '-')
				return false;
			++i;
			continue;
		}
		int high = HexValue(p[i]);
		int low = HexValue(p[i + 1]);
		if (high < 0 || low < 0)
			return false;
		parsed[byteIndex++] = static_cast<std::uint8_t>(high * 16 + low);
		i += 2;
	}
	out.bytes = parsed;
	return true;
}

std::string Guid::ToText() const
{
	static const char digits[] = "0123456789ABCDEF";
	std::string text = "{";
	for (std::size_t i = 0; i < bytes.size(); ++i) {
		if (i == 4 || i == 6 || i == 8 || i == 10)
			text += '-';
		text += digits[bytes[i] >> 4];
		text += digits[bytes[i] & 0xF];
	}
	text += '}';
	return text;
}

} // namespace VX
