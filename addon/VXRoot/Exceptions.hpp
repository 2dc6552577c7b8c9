// The exception family of the container library. Every class derives virtually from
// VXException, so a handler for any level of the family, or for VXException itself, catches
// it; each class fixes its own message and error code, the thrower gives file and line.
#pragma once

#include "VX/Exception.hpp"

#include <cstdint>

namespace VX {

inline constexpr std::int32_t LogicErrorCode = -7003;
inline constexpr std::int32_t PreconditionErrorCode = -50;
inline constexpr std::int32_t RunTimeErrorCode = -7003;

class GeneralException : public virtual VXException {
public:
	explicit GeneralException(
		const char* text = "", std::int32_t code = 0, const char* fileName = "", std::uint32_t lineNumber = 0);
	~GeneralException() override;
};

class LogicErrorException : public GeneralException {
public:
	explicit LogicErrorException(const char* fileName = "", std::uint32_t lineNumber = 0);
	~LogicErrorException() override;
};

class PreconditionException : public LogicErrorException {
public:
	explicit PreconditionException(const char* fileName = "", std::uint32_t lineNumber = 0);
	~PreconditionException() override;
};

class IllegalArgumentException : public PreconditionException {
public:
	explicit IllegalArgumentException(const char* fileName = "", std::uint32_t lineNumber = 0);
	~IllegalArgumentException() override;
};

class IllegalReferenceException : public IllegalArgumentException {
public:
	explicit IllegalReferenceException(const char* fileName = "", std::uint32_t lineNumber = 0);
	~IllegalReferenceException() override;
};

class RunTimeErrorException : public GeneralException {
public:
	explicit RunTimeErrorException(const char* fileName = "", std::uint32_t lineNumber = 0);
	~RunTimeErrorException() override;
};

} // namespace VX
