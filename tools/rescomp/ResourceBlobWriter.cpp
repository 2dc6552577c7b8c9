// Writing the blob: header, directory, then each resource on a 4-byte boundary.
#include "ResourceBlobWriter.hpp"

#include "VX/ResourceBlob.hpp"

#include <algorithm>
#include <limits>
#include <string>

namespace Rescomp {

namespace {

void PutWord(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
	for (int shift = 0; shift < 32; shift += 8)
		out[at++] = static_cast<std::uint8_t>(value >> shift);
}

std::string TypeText(std::uint32_t type)
{
	std::string text;
	for (int shift = 24; shift >= 0; shift -= 8)
		text += static_cast<char>((type >> shift) & 0xFF);
	return text;
}

} // namespace

std::vector<std::uint8_t> WriteResourceBlob(std::vector<CompiledResource> resources)
{
	using namespace VX::ResourceBlobFormat;
	std::stable_sort(resources.begin(), resources.end(), [](const CompiledResource& a, const CompiledResource& b) {
		return a.type != b.type ? a.type < b.type : a.id < b.id;
	});
	for (std::size_t index = 1; index < resources.size(); ++index) {
		const CompiledResource& earlier = resources[index - 1];
		const CompiledResource& later = resources[index];
		if (earlier.type == later.type && earlier.id == later.id)
			throw ResourceError(later.sourceName + ": " + TypeText(later.type) + " " + std::to_string(later.id) +
				" is defined twice (also in " + earlier.sourceName + ")");
	}

	std::size_t size = HeaderSize + resources.size() * DirectoryEntrySize;
	for (const CompiledResource& resource : resources)
		size = (size + Alignment - 1) / Alignment * Alignment + resource.bytes.size();
	size = (size + Alignment - 1) / Alignment * Alignment;
	if (size > std::numeric_limits<std::uint32_t>::max())
		throw ResourceError("the resources are too large for one blob");

	std::vector<std::uint8_t> blob(size, 0);
	std::copy(std::begin(Magic), std::end(Magic), blob.begin());
	PutWord(blob, 4, Version);
	PutWord(blob, 8, static_cast<std::uint32_t>(resources.size()));
	std::size_t offset = HeaderSize + resources.size() * DirectoryEntrySize;
	for (std::size_t index = 0; index < resources.size(); ++index) {
		const CompiledResource& resource = resources[index];
		offset = (offset + Alignment - 1) / Alignment * Alignment;
		const std::size_t entry = HeaderSize + index * DirectoryEntrySize;
		PutWord(blob, entry, resource.type);
		PutWord(blob, entry + 4, static_cast<std::uint32_t>(resource.id));
		PutWord(blob, entry + 8, static_cast<std::uint32_t>(offset));
		PutWord(blob, entry + 12, static_cast<std::uint32_t>(resource.bytes.size()));
		std::copy(resource.bytes.begin(), resource.bytes.end(), blob.begin() + static_cast<std::ptrdiff_t>(offset));
		offset += resource.bytes.size();
	}
	return blob;
}

} // namespace Rescomp
