// VX::String: the root library's byte string. Texts are single-byte and may hold any byte
// but NUL; no character-set conversion is ever made. VX::UniString carries UTF-8 texts of
// the user interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace VX {

class String {
public:
	String() = default;
	String(const char* text) : bytes(text != nullptr ? text : "") {}
	String(const char* text, std::size_t length) : bytes(text, length) {}
	explicit String(std::string_view text) : bytes(text) {}
	explicit String(std::string text) : bytes(std::move(text)) {}

	const char* ToCStr() const { return bytes.c_str(); }
	std::size_t GetLength() const { return bytes.size(); }
	bool IsEmpty() const { return bytes.empty(); }
	char operator[](std::size_t index) const { return bytes[index]; }
	std::string_view View() const { return bytes; }
	const std::string& ToStd() const { return bytes; }

	String& Append(const String& other)
	{
		bytes += other.bytes;
		return *this;
	}
	String& Append(const char* text)
	{
		bytes += (text != nullptr ? text : "");
		return *this;
	}
	String& Append(char c)
	{
		bytes += c;
		return *this;
	}
	String& operator+=(const String& other) { return Append(other); }
	String& operator+=(const char* text) { return Append(text); }
	void Clear() { bytes.clear(); }

	// Byte-wise equality with another string or a NUL-terminated text.
	friend bool operator==(const String& a, const String& b) { return a.bytes == b.bytes; }
	friend bool operator==(const String& a, const char* b) { return a.bytes == (b != nullptr ? b : ""); }

	// The root library's string hash (32-bit FNV-1a over the bytes): stable across runs.
	std::uint32_t GenerateHashValue() const { return GenerateHashValue(std::string_view(bytes)); }
	// The same hash of a text held elsewhere, equal to that of a String made from it.
	static std::uint32_t GenerateHashValue(std::string_view text)
	{
		std::uint32_t hash = hashSeed;
		for (unsigned char c : text)
			hash = HashStep(hash, c);
		return hash;
	}
	// The same for a NUL-terminated text, in one pass (null counts as empty).
	static std::uint32_t GenerateHashValue(const char* text)
	{
		std::uint32_t hash = hashSeed;
		if (text != nullptr)
			for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c)
				hash = HashStep(hash, *c);
		return hash;
	}

private:
	static constexpr std::uint32_t hashSeed = 2166136261u;
	static constexpr std::uint32_t HashStep(std::uint32_t hash, unsigned char c) { return (hash ^ c) * 16777619u; }

	std::string bytes;
};

inline String operator+(String a, const String& b)
{
	return a.Append(b);
}

class UniString {
public:
	UniString() = default;
	UniString(const char* utf8) : text(utf8 != nullptr ? utf8 : "") {}
	UniString(const String& bytes) : text(bytes.ToStd()) {}
	explicit UniString(std::string utf8) : text(std::move(utf8)) {}

	const char* ToCStr() const { return text.c_str(); }
	std::size_t GetLength() const { return text.size(); }
	bool IsEmpty() const { return text.empty(); }
	const std::string& ToStd() const { return text; }
	UniString& Append(const UniString& other)
	{
		text += other.text;
		return *this;
	}
	friend bool operator==(const UniString& a, const UniString& b) { return a.text == b.text; }

private:
	std::string text;
};

} // namespace VX
