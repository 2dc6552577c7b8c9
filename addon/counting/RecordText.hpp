// Texts in host records and handles. The host fills fixed text fields and blocks of texts,
// and a careless host may leave a text without its terminating zero: every read here stops at
// the zero or at the end of the field, whichever comes first, so no text is ever read past
// its record. Writing a text into a record's field is refused when the text and its zero do
// not fit, because a cut name would name another parameter, and a longer one would run into
// the field behind it.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// The text at the start of a field of capacity bytes: up to its zero, or the whole field.
inline std::string_view BoundedText(const char* field, std::size_t capacity)
{
	const void* zero = std::memchr(field, '\0', capacity);
	const std::size_t length =
		zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - field) : capacity;
	return std::string_view(field, length);
}

template <std::size_t Capacity>
std::string_view BoundedText(const char (&field)[Capacity])
{
	return BoundedText(field, Capacity);
}

// Copies text and its terminating zero into the field. False, with the field left empty,
// when they do not fit.
inline bool CopyTextIntoField(char* field, std::size_t capacity, std::string_view text)
{
	if (capacity == 0)
		return false;
	if (text.size() >= capacity || text.find('\0') != std::string_view::npos) {
		field[0] = '\0';
		return false;
	}
	std::memcpy(field, text.data(), text.size());
	field[text.size()] = '\0';
	return true;
}

template <std::size_t Capacity>
bool CopyTextIntoField(char (&field)[Capacity], std::string_view text)
{
	return CopyTextIntoField(field, Capacity, text);
}

// Walks a block of consecutive zero-terminated texts, such as a value list's handle. A last
// text that the block ends inside of (its zero missing) is still taken, bounded by the block.
class TextBlockReader {
public:
	TextBlockReader(const char* block, std::size_t size) : bytes(block), remaining(block != nullptr ? size : 0) {}

	// The next text; false when the block holds no more.
	bool Next(std::string_view& text)
	{
		if (remaining == 0)
			return false;
		text = BoundedText(bytes, remaining);
		const std::size_t consumed = text.size() < remaining ? text.size() + 1 : text.size();
		bytes += consumed;
		remaining -= consumed;
		return true;
	}

private:
	const char* bytes;
	std::size_t remaining;
};
