// Reading and checking of the compiled resource blob.
#include "VX/ResourceBlob.hpp"

#include <cstring>

namespace VX {

namespace {

std::uint32_t ReadWord(const std::uint8_t* at)
{
	return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
		(static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

bool Refuse(std::string* problem, const char* reason)
{
	if (problem != nullptr)
		*problem = reason;
	return false;
}

} // namespace

std::optional<ResourceBlob> ResourceBlob::Open(std::span<const std::uint8_t> blob, std::string* problem)
{
	using namespace ResourceBlobFormat;
	if (blob.size() < HeaderSize) {
		Refuse(problem, "shorter than its header");
		return std::nullopt;
	}
	if (std::memcmp(blob.data(), Magic, sizeof Magic) != 0) {
		Refuse(problem, "not a resource blob (wrong magic)");
		return std::nullopt;
	}
	if (ReadWord(blob.data() + 4) != Version) {
		Refuse(problem, "unknown blob version");
		return std::nullopt;
	}
	const std::uint64_t count = ReadWord(blob.data() + 8);
	if (count > (blob.size() - HeaderSize) / DirectoryEntrySize) {
		Refuse(problem, "directory runs past the end");
		return std::nullopt;
	}
	ResourceBlob view;
	view.entries.reserve(count);
	for (std::uint64_t index = 0; index < count; ++index) {
		const std::uint8_t* entry = blob.data() + HeaderSize + index * DirectoryEntrySize;
		const std::uint64_t offset = ReadWord(entry + 8);
		const std::uint64_t size = ReadWord(entry + 12);
		if (offset > blob.size() || size > blob.size() - offset) {
			Refuse(problem, "a resource runs past the end");
			return std::nullopt;
		}
		view.entries.push_back(ResourceEntry {
			ReadWord(entry), static_cast<std::int32_t>(ReadWord(entry + 4)), blob.subspan(offset, size)});
	}
	return view;
}

std::optional<std::span<const std::uint8_t>> ResourceBlob::Find(ResourceType type, std::int32_t id) const
{
	for (const ResourceEntry& entry : entries) {
		if (entry.type == type && entry.id == id)
			return entry.bytes;
	}
	return std::nullopt;
}

std::optional<std::string_view> GetStringListItem(std::span<const std::uint8_t> stringList, std::int32_t item)
{
	if (item < 1 || stringList.size() < 4)
		return std::nullopt;
	const std::size_t byteCount = ReadWord(stringList.data());
	const std::size_t end = 4 + (byteCount < stringList.size() - 4 ? byteCount : stringList.size() - 4);
	const char* text = reinterpret_cast<const char*>(stringList.data());
	std::size_t position = 4;
	for (std::int32_t current = 1; position < end; ++current) {
		const void* terminator = std::memchr(text + position, '\0', end - position);
		const std::size_t length = terminator != nullptr
			? static_cast<std::size_t>(static_cast<const char*>(terminator) - (text + position))
			: end - position;
		if (current == item)
			return std::string_view(text + position, length);
		position += length + 1;
	}
	return std::nullopt;
}

} // namespace VX
