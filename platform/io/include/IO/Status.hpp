// Results of the file library's operations; Ok is success.
#pragma once

#include <cstdint>

namespace IO {

enum class Status : std::int32_t {
	Ok = 0,
	BadPath,      // the location holds no usable path
	NoName,       // the location has no last component (a root or an empty path)
	BadName,      // a name that cannot be a path component
	BadParameter, // a null buffer or result pointer where one is needed
	NotFound,     // no file at the location
	CannotCreate, // the missing file could not be created
	NotAFile,     // something other than a plain file is at the location
	AccessDenied, // the system refused access
	NotOpen,      // the file is not open
	AlreadyOpen,  // the file is open already
	ReadFailed,   // the system reported a read error
	EndOfFile,    // fewer bytes were left than asked for
};

// A short English description, for messages and test output.
const char* StatusText(Status status);

} // namespace IO
