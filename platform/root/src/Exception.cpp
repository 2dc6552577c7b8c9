// VXException's members.
#include "VX/Exception.hpp"

VXException::VXException(const char* text, std::int32_t code, const char* file, std::uint32_t sourceLine)
	: message(text != nullptr ? text : ""), errorCode(code), sourceFile(file != nullptr ? file : ""), line(sourceLine)
{
}

VXException::~VXException() = default;

const char* VXException::what() const noexcept
{
	return message.c_str();
}
