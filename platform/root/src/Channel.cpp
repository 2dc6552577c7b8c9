// Text and binary forms of the root library's channels.
#include "VX/Channel.hpp"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <vector>

namespace VX {

OChannel::~OChannel() = default;

OChannel& OChannel::operator<<(const char* text)
{
	if (text != nullptr)
		WriteBytes(text, std::strlen(text));
	return *this;
}

OChannel& OChannel::operator<<(char character)
{
	WriteBytes(&character, 1);
	return *this;
}

OChannel& OChannel::operator<<(bool value)
{
	return *this << (value ? "true" : "false");
}
OChannel& OChannel::operator<<(short value)
{
	return WriteFormatted("%hd", value);
}
OChannel& OChannel::operator<<(unsigned short value)
{
	return WriteFormatted("%hu", value);
}
OChannel& OChannel::operator<<(int value)
{
	return WriteFormatted("%d", value);
}
OChannel& OChannel::operator<<(unsigned int value)
{
	return WriteFormatted("%u", value);
}
OChannel& OChannel::operator<<(long value)
{
	return WriteFormatted("%ld", value);
}
OChannel& OChannel::operator<<(unsigned long value)
{
	return WriteFormatted("%lu", value);
}
OChannel& OChannel::operator<<(long long value)
{
	return WriteFormatted("%lld", value);
}
OChannel& OChannel::operator<<(unsigned long long value)
{
	return WriteFormatted("%llu", value);
}
OChannel& OChannel::operator<<(float value)
{
	return WriteFormatted("%f", static_cast<double>(value));
}
OChannel& OChannel::operator<<(double value)
{
	return WriteFormatted("%f", value);
}

OChannel& OChannel::operator<<(const void* pointer)
{
	return WriteFormatted("0x%016" PRIxPTR, reinterpret_cast<std::uintptr_t>(pointer));
}

OChannel& OChannel::operator<<(const String& text)
{
	WriteBytes(text.ToCStr(), text.GetLength());
	return *this;
}

OChannel& OChannel::WriteFormatted(const char* format, ...)
{
	char local[128];
	std::va_list arguments;
	va_start(arguments, format);
	std::va_list second;
	va_copy(second, arguments);
	int length = std::vsnprintf(local, sizeof local, format, arguments);
	va_end(arguments);
	if (length >= 0 && static_cast<std::size_t>(length) < sizeof local) {
		WriteBytes(local, static_cast<std::size_t>(length));
	} else if (length > 0) {
		// Rare long texts take a buffer of their exact size.
		std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
		std::vsnprintf(buffer.data(), buffer.size(), format, second);
		WriteBytes(buffer.data(), static_cast<std::size_t>(length));
	}
	va_end(second);
	return *this;
}

void OChannel::PutUnsigned(std::uint64_t value, unsigned byteCount)
{
	unsigned char bytes[8];
	for (unsigned i = 0; i < byteCount; ++i)
		bytes[i] = static_cast<unsigned char>(value >> (8 * i));
	WriteBytes(bytes, byteCount);
}

void OChannel::PutFloat(float value)
{
	std::uint32_t bits;
	std::memcpy(&bits, &value, sizeof bits);
	PutUnsigned(bits, 4);
}

void OChannel::PutDouble(double value)
{
	std::uint64_t bits;
	std::memcpy(&bits, &value, sizeof bits);
	PutUnsigned(bits, 8);
}

void OChannel::PutText(const char* text, std::size_t length)
{
	PutUnsigned(length, 4);
	WriteBytes(text, length);
}

void StringOChannel::WriteBytes(const void* data, std::size_t length)
{
	text.append(static_cast<const char*>(data), length);
}

void StreamOChannel::WriteBytes(const void* data, std::size_t length)
{
	stream.write(static_cast<const char*>(data), static_cast<std::streamsize>(length));
}

IChannel::~IChannel() = default;

ErrCode IChannel::GetUnsigned(std::uint64_t& value, unsigned byteCount)
{
	if (status != NoError)
		return status;
	unsigned char bytes[8];
	if (!ReadBytes(bytes, byteCount)) {
		status = ErrorEndOfChannel;
		return status;
	}
	std::uint64_t result = 0;
	for (unsigned i = 0; i < byteCount; ++i)
		result |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
	value = result;
	return NoError;
}

ErrCode IChannel::GetInt8(std::int8_t& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 1);
	if (result == NoError)
		value = static_cast<std::int8_t>(static_cast<std::uint8_t>(raw));
	return result;
}

ErrCode IChannel::GetInt16(std::int16_t& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 2);
	if (result == NoError)
		value = static_cast<std::int16_t>(static_cast<std::uint16_t>(raw));
	return result;
}

ErrCode IChannel::GetInt32(std::int32_t& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 4);
	if (result == NoError)
		value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
	return result;
}

ErrCode IChannel::GetInt64(std::int64_t& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 8);
	if (result == NoError)
		value = static_cast<std::int64_t>(raw);
	return result;
}

ErrCode IChannel::GetUInt32(std::uint32_t& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 4);
	if (result == NoError)
		value = static_cast<std::uint32_t>(raw);
	return result;
}

ErrCode IChannel::GetBool(bool& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 1);
	if (result == NoError) {
		if (raw > 1) {
			status = ErrorFormat;
			return status;
		}
		value = raw == 1;
	}
	return result;
}

ErrCode IChannel::GetFloat(float& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 4);
	if (result == NoError) {
		std::uint32_t bits = static_cast<std::uint32_t>(raw);
		std::memcpy(&value, &bits, sizeof value);
	}
	return result;
}

ErrCode IChannel::GetDouble(double& value)
{
	std::uint64_t raw = 0;
	ErrCode result = GetUnsigned(raw, 8);
	if (result == NoError)
		std::memcpy(&value, &raw, sizeof value);
	return result;
}

ErrCode IChannel::GetText(std::string& text, std::size_t maxLength)
{
	std::uint64_t length = 0;
	ErrCode result = GetUnsigned(length, 4);
	if (result != NoError)
		return result;
	if (length > maxLength) {
		status = ErrorFormat;
		return status;
	}
	std::string bytes(static_cast<std::size_t>(length), '\0');
	if (!ReadBytes(bytes.data(), bytes.size())) {
		status = ErrorEndOfChannel;
		return status;
	}
	text = std::move(bytes);
	return NoError;
}

bool StringIChannel::ReadBytes(void* target, std::size_t length)
{
	if (length > data.size() - position)
		return false;
	std::memcpy(target, data.data() + position, length);
	position += length;
	return true;
}

} // namespace VX
