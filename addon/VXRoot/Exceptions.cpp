// Messages and codes of the container exception family. The virtual base is built by the
// most derived class only, so each class names VXException with its own message and code.
#include "VXRoot/Exceptions.hpp"

namespace VX {

GeneralException::GeneralException(const char* text, std::int32_t code, const char* fileName, std::uint32_t lineNumber)
	: VXException(text, code, fileName, lineNumber)
{
}
GeneralException::~GeneralException() = default;

LogicErrorException::LogicErrorException(const char* fileName, std::uint32_t lineNumber)
	: VXException("Logic error", LogicErrorCode, fileName, lineNumber)
{
}
LogicErrorException::~LogicErrorException() = default;

PreconditionException::PreconditionException(const char* fileName, std::uint32_t lineNumber)
	: VXException("Precondition violation", PreconditionErrorCode, fileName, lineNumber)
{
}
PreconditionException::~PreconditionException() = default;

IllegalArgumentException::IllegalArgumentException(const char* fileName, std::uint32_t lineNumber)
	: VXException("Illegal argument", PreconditionErrorCode, fileName, lineNumber)
{
}
IllegalArgumentException::~IllegalArgumentException() = default;

IllegalReferenceException::IllegalReferenceException(const char* fileName, std::uint32_t lineNumber)
	: VXException("Illegal reference", PreconditionErrorCode, fileName, lineNumber)
{
}
IllegalReferenceException::~IllegalReferenceException() = default;

RunTimeErrorException::RunTimeErrorException(const char* fileName, std::uint32_t lineNumber)
	: VXException("Runtime error", RunTimeErrorCode, fileName, lineNumber)
{
}
RunTimeErrorException::~RunTimeErrorException() = default;

} // namespace VX
