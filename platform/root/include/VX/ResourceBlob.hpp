// The compiled resource blob that a module carries: a header, a directory of (type, id,
// offset, size) and the resources' bytes, all numbers little-endian. The resource compiler
// writes it; the resource manager reads it in place. Reading checks every offset, so a damaged
// blob is refused rather than read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace VX {

// Four characters packed first character highest: ResourceType("STRS") == 0x53545253.
using ResourceType = std::uint32_t;
constexpr ResourceType MakeResourceType(const char (&code)[5])
{
	return (static_cast<ResourceType>(static_cast<unsigned char>(code[0])) << 24) |
		(static_cast<ResourceType>(static_cast<unsigned char>(code[1])) << 16) |
		(static_cast<ResourceType>(static_cast<unsigned char>(code[2])) << 8) |
		static_cast<ResourceType>(static_cast<unsigned char>(code[3]));
}

namespace ResourceTypes {
inline constexpr ResourceType StringList = MakeResourceType("STRS");
inline constexpr ResourceType DialogHeader = MakeResourceType("DLGH");
inline constexpr ResourceType DialogItems = MakeResourceType("VXDG");
inline constexpr ResourceType Icon = MakeResourceType("ICON");
inline constexpr ResourceType ModuleIdentity = MakeResourceType("MDID");
inline constexpr ResourceType ModuleNumbers = MakeResourceType("MNUM");
} // namespace ResourceTypes
static_assert(ResourceTypes::StringList == 0x53545253u, "resource types pack their first character highest");

namespace ResourceBlobFormat {
inline constexpr char Magic[4] = {'V', 'X', 'R', 'S'};
inline constexpr std::uint32_t Version = 1;
inline constexpr std::size_t HeaderSize = 12;
inline constexpr std::size_t DirectoryEntrySize = 16;
// Every resource starts on this boundary, so 32-bit words inside it are aligned in place.
inline constexpr std::size_t Alignment = 4;
// The ELF note that carries the blob in a module file.
inline constexpr char NoteName[] = "VXRES";
inline constexpr std::uint32_t NoteType = 0x56585253u;
} // namespace ResourceBlobFormat

struct ResourceEntry {
	ResourceType type = 0;
	std::int32_t id = 0;
	std::span<const std::uint8_t> bytes;
};

// A checked view of a blob; the bytes stay where they are and must outlive the view.
class ResourceBlob {
public:
	// The view of a well-formed blob; nothing (and a reason in problem, when given) for a
	// damaged one.
	static std::optional<ResourceBlob> Open(std::span<const std::uint8_t> blob, std::string* problem = nullptr);

	const std::vector<ResourceEntry>& Entries() const { return entries; }
	// The resource of that type and id, or nothing.
	std::optional<std::span<const std::uint8_t>> Find(ResourceType type, std::int32_t id) const;

private:
	std::vector<ResourceEntry> entries;
};

// Item (from 1) of a string list resource (STRS: a 32-bit byte count, then NUL-terminated
// texts); nothing when the list has no such item. An unterminated last text ends at the
// list's end.
std::optional<std::string_view> GetStringListItem(std::span<const std::uint8_t> stringList, std::int32_t item);

} // namespace VX
