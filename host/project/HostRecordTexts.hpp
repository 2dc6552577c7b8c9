// Texts in the fixed fields of host records. The host reads what an add-on wrote without
// trusting a terminating zero, and writes its own texts cut to leave room for one, unless a
// test asked for the answers of a careless host that fills a field to its end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace ReferenceHost {

// The text of a field of width bytes: up to its first zero byte or its end.
inline std::string ReadTextField(const char* field, std::size_t width)
{
	const void* zero = std::memchr(field, 0, width);
	const std::size_t length =
		zero == nullptr ? width : static_cast<std::size_t>(static_cast<const char*>(zero) - field);
	return std::string(field, length);
}

// The byte a careless host leaves in the rest of a field instead of zeros.
inline constexpr char UnterminatedFill = '~';

// Writes the text into a field of width bytes. Soundly: cut to width - 1 bytes, the rest
// zero. Unterminated: the text, then the fill to the field's end, no zero anywhere.
inline void WriteTextField(char* field, std::size_t width, std::string_view text, bool unterminated)
{
	if (width == 0)
		return;
	if (unterminated) {
		const std::size_t length = std::min(text.size(), width);
		std::memcpy(field, text.data(), length);
		std::memset(field + length, UnterminatedFill, width - length);
		return;
	}
	const std::size_t length = std::min(text.size(), width - 1);
	std::memcpy(field, text.data(), length);
	std::memset(field + length, 0, width - length);
}

} // namespace ReferenceHost
