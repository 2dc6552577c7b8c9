// VXException, the base of every exception the platform libraries and their containers
// raise: a message, an error code, and the source file name and line that raised it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

class VXException : public std::exception {
public:
	VXException(const char* message, std::int32_t errorCode, const char* sourceFile, std::uint32_t line);
	VXException(const VXException&) = default;
	VXException& operator=(const VXException&) = default;
	~VXException() override;

	const char* what() const noexcept override;

	const std::string& GetMessage() const { return message; }
	std::int32_t GetErrorCode() const { return errorCode; }
	const std::string& GetSourceFile() const { return sourceFile; }
	std::uint32_t GetLine() const { return line; }

private:
	std::string message;
	std::int32_t errorCode;
	std::string sourceFile;
	std::uint32_t line;
};
