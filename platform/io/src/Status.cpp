// Texts of the file library's statuses.
#include "IO/Status.hpp"

namespace IO {

const char* StatusText(Status status)
{
	switch (status) {
	case Status::Ok: return "no error";
	case Status::BadPath: return "the location holds no usable path";
	case Status::NoName: return "the location has no last component";
	case Status::BadName: return "the name cannot be a path component";
	case Status::BadParameter: return "a needed pointer is null";
	case Status::NotFound: return "the file does not exist";
	case Status::CannotCreate: return "the file cannot be created";
	case Status::NotAFile: return "not a plain file";
	case Status::AccessDenied: return "access denied";
	case Status::NotOpen: return "the file is not open";
	case Status::AlreadyOpen: return "the file is open already";
	case Status::ReadFailed: return "the file cannot be read";
	case Status::EndOfFile: return "the end of the file came first";
	}
	return "unknown status";
}

} // namespace IO
