// Output and input channels of the root library. Objects print and dump themselves as text
// to an output channel and write and read their contents in binary form through the same
// channels; the concrete channels here write to a text buffer or a standard stream and read
// from a byte buffer, which is all the module and its tests need.
#pragma once

#include "VX/String.hpp"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace VX {

// The status of a channel or object operation: 0 for success.
using ErrCode = std::int32_t;
inline constexpr ErrCode NoError = 0;
inline constexpr ErrCode ErrorParameter = -50;      // a call broke its precondition
inline constexpr ErrCode ErrorEndOfChannel = -39;   // a read ran past the available bytes
inline constexpr ErrCode ErrorNotSupported = -7001; // the object cannot do this operation
inline constexpr ErrCode ErrorFormat = -7002;       // read data are not what the reader expects

class OChannel {
public:
	OChannel() = default;
	OChannel(const OChannel&) = delete;
	OChannel& operator=(const OChannel&) = delete;
	virtual ~OChannel();

	// Raw bytes, the one thing a concrete channel has to provide.
	virtual void WriteBytes(const void* data, std::size_t length) = 0;

	// Text forms used by Print and Dump: integers in decimal, reals with six decimals,
	// booleans as "true"/"false", pointers as 0x and sixteen hex digits.
	OChannel& operator<<(const char* text);
	OChannel& operator<<(char character);
	OChannel& operator<<(bool value);
	OChannel& operator<<(short value);
	OChannel& operator<<(unsigned short value);
	OChannel& operator<<(int value);
	OChannel& operator<<(unsigned int value);
	OChannel& operator<<(long value);
	OChannel& operator<<(unsigned long value);
	OChannel& operator<<(long long value);
	OChannel& operator<<(unsigned long long value);
	OChannel& operator<<(float value);
	OChannel& operator<<(double value);
	OChannel& operator<<(const void* pointer);
	OChannel& operator<<(const String& text);

	// printf-style text, for fixed-width fields such as list indexes.
	OChannel& WriteFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

	// Binary forms used by Write: little-endian, fixed widths; texts as a 32-bit length and
	// the bytes.
	void PutInt8(std::int8_t value) { PutUnsigned(static_cast<std::uint8_t>(value), 1); }
	void PutInt16(std::int16_t value) { PutUnsigned(static_cast<std::uint16_t>(value), 2); }
	void PutInt32(std::int32_t value) { PutUnsigned(static_cast<std::uint32_t>(value), 4); }
	void PutInt64(std::int64_t value) { PutUnsigned(static_cast<std::uint64_t>(value), 8); }
	void PutUInt32(std::uint32_t value) { PutUnsigned(value, 4); }
	void PutBool(bool value) { PutUnsigned(value ? 1u : 0u, 1); }
	void PutFloat(float value);
	void PutDouble(double value);
	void PutText(const char* text, std::size_t length);

private:
	void PutUnsigned(std::uint64_t value, unsigned byteCount);
};

// Collects everything written in a text buffer (tests capture Print and Dump with it).
class StringOChannel : public OChannel {
public:
	void WriteBytes(const void* data, std::size_t length) override;
	const std::string& GetText() const { return text; }
	void Clear() { text.clear(); }

private:
	std::string text;
};

// Passes everything written on to a standard stream.
class StreamOChannel : public OChannel {
public:
	explicit StreamOChannel(std::ostream& target) : stream(target) {}
	void WriteBytes(const void* data, std::size_t length) override;

private:
	std::ostream& stream;
};

// Binary input: the counterpart of OChannel's Put functions. A read past the end fails with
// ErrorEndOfChannel and leaves the target unchanged; the failure sticks until Reset.
class IChannel {
public:
	IChannel() = default;
	IChannel(const IChannel&) = delete;
	IChannel& operator=(const IChannel&) = delete;
	virtual ~IChannel();

	// Reads exactly length bytes, or nothing and returns false.
	virtual bool ReadBytes(void* data, std::size_t length) = 0;

	ErrCode GetInt8(std::int8_t& value);
	ErrCode GetInt16(std::int16_t& value);
	ErrCode GetInt32(std::int32_t& value);
	ErrCode GetInt64(std::int64_t& value);
	ErrCode GetUInt32(std::uint32_t& value);
	ErrCode GetBool(bool& value);
	ErrCode GetFloat(float& value);
	ErrCode GetDouble(double& value);
	// A text written by PutText; maxLength bounds what the reader accepts.
	ErrCode GetText(std::string& text, std::size_t maxLength);

	ErrCode GetStatus() const { return status; }

protected:
	void ResetStatus() { status = NoError; }

private:
	ErrCode GetUnsigned(std::uint64_t& value, unsigned byteCount);
	ErrCode status = NoError;
};

// Reads from a copy of a byte buffer, for example what a StringOChannel collected.
class StringIChannel : public IChannel {
public:
	explicit StringIChannel(std::string bytes) : data(std::move(bytes)) {}
	bool ReadBytes(void* target, std::size_t length) override;
	std::size_t GetPosition() const { return position; }
	void Reset()
	{
		position = 0;
		ResetStatus();
	}

private:
	std::string data;
	std::size_t position = 0;
};

} // namespace VX
