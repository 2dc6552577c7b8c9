// IO::File: a plain file at a location, read as bytes. Making the object can create a missing
// file; nothing here writes into a file.
#pragma once

#include "IO/Location.hpp"
#include "IO/Status.hpp"

#include <cstdint>

namespace IO {

class File {
public:
	enum class OnNotFound { Fail, Create };
	enum class OpenMode { Read };

	// Looks at the location; with Create, a missing file is created empty. GetStatus tells
	// the outcome: Ok, BadPath, NotFound, CannotCreate or NotAFile.
	explicit File(const Location& location, OnNotFound onNotFound = OnNotFound::Fail);
	~File();
	File(const File&) = delete;
	File& operator=(const File&) = delete;

	Status GetStatus() const { return status; }
	const Location& GetLocation() const { return location; }

	// Opens the file; a failed construction answers its own status again.
	Status Open(OpenMode mode);
	bool IsOpen() const { return descriptor >= 0; }
	// The number of bytes from the read position to the end of the file.
	Status GetAvailableBytes(std::uint64_t* count) const;
	// Reads count bytes into buffer. Fewer bytes left than asked for gives EndOfFile; read
	// (when given) tells how many arrived in every case.
	Status ReadBytes(void* buffer, std::uint64_t count, std::uint64_t* read = nullptr);
	Status Close();

private:
	Location location;
	Status status = Status::Ok;
	int descriptor = -1;
};

} // namespace IO
