// Plain files through the system's file descriptors. Reads go straight to the descriptor, so
// the available byte count always matches what a read will deliver.
#include "IO/File.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IO {

namespace {

Status FromErrno(int error, Status otherwise)
{
	switch (error) {
	case ENOENT:
	case ENOTDIR: return Status::NotFound;
	case EACCES:
	case EPERM: return Status::AccessDenied;
	case EISDIR: return Status::NotAFile;
	default: return otherwise;
	}
}

} // namespace

File::File(const Location& fileLocation, OnNotFound onNotFound) : location(fileLocation)
{
	if (location.GetStatus() != Status::Ok) {
		status = Status::BadPath;
		return;
	}
	const char* path = location.ToPath().ToCStr();
	struct stat information {};
	if (stat(path, &information) == 0) {
		status = S_ISREG(information.st_mode) ? Status::Ok : Status::NotAFile;
		return;
	}
	if (errno != ENOENT) {
		status = FromErrno(errno, Status::NotFound);
		return;
	}
	if (onNotFound == OnNotFound::Fail) {
		status = Status::NotFound;
		return;
	}
	const int created = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
	if (created < 0) {
		// Someone else made it in between: that file serves as well.
		status = errno == EEXIST ? Status::Ok : Status::CannotCreate;
		return;
	}
	::close(created);
	status = Status::Ok;
}

File::~File()
{
	Close();
}

Status File::Open(OpenMode)
{
	if (status != Status::Ok)
		return status;
	if (IsOpen())
		return Status::AlreadyOpen;
	const int opened = ::open(location.ToPath().ToCStr(), O_RDONLY | O_CLOEXEC);
	if (opened < 0)
		return FromErrno(errno, Status::ReadFailed);
	struct stat information {};
	if (fstat(opened, &information) != 0 || !S_ISREG(information.st_mode)) {
		::close(opened);
		return Status::NotAFile;
	}
	descriptor = opened;
	return Status::Ok;
}

Status File::GetAvailableBytes(std::uint64_t* count) const
{
	if (count == nullptr)
		return Status::BadParameter;
	*count = 0;
	if (!IsOpen())
		return Status::NotOpen;
	struct stat information {};
	const off_t position = lseek(descriptor, 0, SEEK_CUR);
	if (fstat(descriptor, &information) != 0 || position < 0)
		return Status::ReadFailed;
	*count = information.st_size > position ? static_cast<std::uint64_t>(information.st_size - position) : 0;
	return Status::Ok;
}

Status File::ReadBytes(void* buffer, std::uint64_t count, std::uint64_t* read)
{
	if (read != nullptr)
		*read = 0;
	if (!IsOpen())
		return Status::NotOpen;
	if (count == 0)
		return Status::Ok;
	if (buffer == nullptr)
		return Status::BadParameter;
	auto* bytes = static_cast<char*>(buffer);
	std::uint64_t done = 0;
	while (done < count) {
		// One call reads at most 1 GiB, well inside what a single read may be asked for.
		const std::uint64_t chunk = count - done < (1u << 30) ? count - done : (1u << 30);
		const ssize_t got = ::read(descriptor, bytes + done, chunk);
		if (got < 0) {
			if (errno == EINTR)
				continue;
			if (read != nullptr)
				*read = done;
			return Status::ReadFailed;
		}
		if (got == 0)
			break;
		done += static_cast<std::uint64_t>(got);
	}
	if (read != nullptr)
		*read = done;
	return done == count ? Status::Ok : Status::EndOfFile;
}

Status File::Close()
{
	if (!IsOpen())
		return Status::NotOpen;
	::close(descriptor);
	descriptor = -1;
	return Status::Ok;
}

} // namespace IO
