// GuidStr: a library part's unique identifier text as a hash key, held in a fixed buffer of
// 256 characters (at most 255 and the NUL). Hash and equality are those of a VX::String
// made from the text.
//
// A text longer than 255 characters is refused, never cut: a cut key could equal the
// identifier of a real library part and take over its entry. The constructor raises
// VX::IllegalArgumentException for such a text; Assign answers false and keeps the key.
#pragma once

#include "VX/String.hpp"
#include "VXRoot/ElementChannels.hpp"
#include "VXRoot/Exceptions.hpp"
#include "VXRoot/HashKeys.hpp"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class GuidStr {
public:
	static constexpr std::size_t Capacity = 256;
	static constexpr std::size_t MaxLength = Capacity - 1;

	GuidStr() { text[0] = '\0'; }
	explicit GuidStr(const char* source)
	{
		if (!Assign(source))
			throw VX::IllegalArgumentException("counting\\GuidStr", __LINE__);
	}
	GuidStr(const GuidStr& source) { CopyText(source.text); }
	GuidStr& operator=(const GuidStr& source)
	{
		if (this != &source)
			CopyText(source.text);
		return *this;
	}

	// True when the text (null counts as empty) fits a key.
	static bool Fits(const char* source) { return source == nullptr || std::strlen(source) <= MaxLength; }
	// Takes the text when it fits; otherwise answers false and leaves the key unchanged.
	bool Assign(const char* source)
	{
		if (!Fits(source))
			return false;
		CopyText(source != nullptr ? source : "");
		return true;
	}

	const char* ToCStr() const { return text; }
	std::size_t GetLength() const { return std::strlen(text); }
	std::string_view View() const { return std::string_view(text); }

	friend bool operator==(const GuidStr& a, const GuidStr& b) { return std::strcmp(a.text, b.text) == 0; }

private:
	// Copies up to and including the NUL; the caller guarantees the length.
	void CopyText(const char* source) { std::memcpy(text, source, std::strlen(source) + 1); }

	// Only the characters up to the NUL are ever read, so nothing else is cleared: keys are
	// copied into every table entry and a full clear would cost more than the copy.
	char text[Capacity];
};

// Hashing without building a VX::String: VX::String's static hash gives the same value.
template <>
struct VX::HashKeyTraits<GuidStr> {
	static std::uint32_t Hash(const GuidStr& key) { return VX::String::GenerateHashValue(key.ToCStr()); }
	static bool Equal(const GuidStr& stored, const GuidStr& key) { return stored == key; }
};

template <>
struct VX::ElementSerializer<GuidStr> {
	static VX::ErrCode Write(VX::OChannel& channel, const GuidStr& key)
	{
		channel.PutText(key.ToCStr(), key.GetLength());
		return VX::NoError;
	}
	static VX::ErrCode Read(VX::IChannel& channel, GuidStr& key)
	{
		std::string read;
		VX::ErrCode status = channel.GetText(read, GuidStr::MaxLength);
		// An embedded NUL would make the stored text differ from what was written.
		if (status == VX::NoError && (read.find('\0') != std::string::npos || !key.Assign(read.c_str())))
			status = VX::ErrorFormat;
		return status;
	}
};
