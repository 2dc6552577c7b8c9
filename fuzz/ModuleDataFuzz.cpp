// Fuzz target: the module-data block reader, writer and merge handler on arbitrary bytes.
// Input: one byte of flags (bit 0 and 1: the first or the second block is of another data
// version; bit 2: the merge handler gets no record for its result), one byte placing the cut
// between the two blocks, then the bytes of both blocks.
//
// Checked beyond "no crash": every whole entry a reader can take is in the table and in the
// order of the block; nothing is in the table the block does not hold; what is read is written
// and read back equal; a merge holds the first block's parts with their levels and adds only the
// second's others; a block of another version is refused with nothing handed over; every
// memory handle is given back.
#include "FuzzCheck.hpp"

#include "counting/CountResult.hpp"
#include "shell/ModuleDataMerge.hpp"
#include "shell/Preferences.hpp"

#include "VX/Memory.hpp"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, short>>;

constexpr std::size_t TextLimit = 255;
constexpr short NoLevelParameter = 5;

// What any reader of the format must take from the block: the whole entries whose texts fit,
// first occurrence of an identifier only. The level is known only for a plain decimal text;
// others are marked so the check leaves them alone.
struct Expected {
	std::vector<std::string> identifiers;
	std::vector<std::pair<bool, short>> levels; // known, value
};

Expected WholeEntries(std::string_view block)
{
	Expected expected;
	std::size_t offset = 0;
	while (offset < block.size()) {
		const std::size_t identifierEnd = block.find('\0', offset);
		if (identifierEnd == std::string_view::npos || identifierEnd + 1 >= block.size())
			break;
		const std::size_t levelEnd = block.find('\0', identifierEnd + 1);
		if (levelEnd == std::string_view::npos)
			break;
		const std::string_view identifier = block.substr(offset, identifierEnd - offset);
		const std::string_view level = block.substr(identifierEnd + 1, levelEnd - identifierEnd - 1);
		offset = levelEnd + 1;
		if (identifier.size() > TextLimit || level.size() > TextLimit)
			continue;
		bool seen = false;
		for (const std::string& known : expected.identifiers)
			seen = seen || known == identifier;
		if (seen)
			continue;
		short value = 0;
		const std::string_view digits = !level.empty() && level[0] == '-' ? level.substr(1) : level;
		const bool plain = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
		const auto [end, error] = std::from_chars(level.data(), level.data() + level.size(), value);
		expected.identifiers.emplace_back(identifier);
		expected.levels.emplace_back(plain && error == std::errc() && end == level.data() + level.size(), value);
	}
	return expected;
}

Entries Contents(const LevelTable& table)
{
	Entries entries;
	for (const auto& entry : table.Pairs())
		entries.emplace_back(entry.GetKey().ToCStr(), entry.GetValue());
	return entries;
}

Entries WithoutUnkeptLevels(Entries entries)
{
	std::erase_if(entries, [](const auto& entry) { return entry.second == NoLevelParameter; });
	return entries;
}

// A record owning a handle with the bytes (none for an empty block).
struct OwnedRecord {
	OwnedRecord(std::string_view bytes, std::uint32_t version)
	{
		record.dataVersion = version;
		record.platformMark = HostSdk::PlatformMark;
		if (!bytes.empty()) {
			record.dataHandle = VX::AllocateHandle(bytes.size());
			FUZZ_CHECK(record.dataHandle != VX::NoHandle);
			std::memcpy(VX::GetHandleData(record.dataHandle), bytes.data(), bytes.size());
		}
	}
	~OwnedRecord() { VX::FreeHandle(record.dataHandle); }
	OwnedRecord(const OwnedRecord&) = delete;
	OwnedRecord& operator=(const OwnedRecord&) = delete;
	HostSdk::ModuleDataRecord record {};
};

std::string_view HandleBytes(VX::HandleId handle)
{
	return {static_cast<const char*>(VX::GetHandleData(handle)), VX::GetHandleSize(handle)};
}

Entries ReadBlock(std::string_view block)
{
	LevelTable table;
	FacetallyModuleData::ParseDataBlock(block.data(), block.size(), table);
	return Contents(table);
}

// The table read from the block against what the block holds, then written and read back.
Entries CheckRead(std::string_view block)
{
	const Entries read = ReadBlock(block);
	const Expected expected = WholeEntries(block);
	FUZZ_CHECK(read.size() == expected.identifiers.size());
	for (std::size_t i = 0; i < read.size(); ++i) {
		FUZZ_CHECK(read[i].first == expected.identifiers[i]);
		if (expected.levels[i].first)
			FUZZ_CHECK(read[i].second == expected.levels[i].second);
	}

	LevelTable table;
	for (const auto& [identifier, level] : read)
		table.Add(GuidStr(identifier.c_str()), level);
	HostSdk::ModuleDataRecord written {};
	FUZZ_CHECK(FacetallyModuleData::WriteValues(table, &written) == HostSdk::StatusOk);
	FUZZ_CHECK(ReadBlock(HandleBytes(written.dataHandle)) == WithoutUnkeptLevels(read));
	FUZZ_CHECK(VX::FreeHandle(written.dataHandle));
	return read;
}

void CheckMerge(std::string_view firstBytes, std::string_view secondBytes, std::uint8_t flags, const Entries& firstRead,
	const Entries& secondRead)
{
	const OwnedRecord first(firstBytes, (flags & 1) != 0 ? 1 : ModuleDataVersion);
	const OwnedRecord second(secondBytes, (flags & 2) != 0 ? 3 : ModuleDataVersion);
	const bool keepResult = (flags & 4) == 0;
	HostSdk::ModuleDataRecord merged {};
	merged.dataHandle = 0xFFFFFFFFu; // whatever the host left there is not the module's
	const HostSdk::HostStatus status =
		ModuleDataMergeHandler(HostSdk::MergeCode, &first.record, &second.record, keepResult ? &merged : nullptr);

	const bool foreign = (first.record.dataHandle != VX::NoHandle && (flags & 1) != 0) ||
		(second.record.dataHandle != VX::NoHandle && (flags & 2) != 0);
	if (foreign) {
		FUZZ_CHECK(status == HostSdk::StatusBadDataVersion);
		FUZZ_CHECK(!keepResult || merged.dataHandle == VX::NoHandle);
		return;
	}
	FUZZ_CHECK(status == HostSdk::StatusOk);
	if (!keepResult)
		return;
	FUZZ_CHECK(merged.dataVersion == ModuleDataVersion && merged.platformMark == HostSdk::PlatformMark);

	Entries expected = firstRead;
	for (const auto& entry : secondRead) {
		bool known = false;
		for (const auto& mine : firstRead)
			known = known || mine.first == entry.first;
		if (!known)
			expected.push_back(entry);
	}
	FUZZ_CHECK(ReadBlock(HandleBytes(merged.dataHandle)) == WithoutUnkeptLevels(expected));
	FUZZ_CHECK(VX::FreeHandle(merged.dataHandle));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	if (size < 2)
		return 0;
	const std::uint8_t flags = data[0];
	const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
	const std::size_t cut = bytes.size() * data[1] / 255;
	const std::string_view firstBytes = bytes.substr(0, cut);
	const std::string_view secondBytes = bytes.substr(cut);

	const std::size_t liveHandles = VX::LiveHandleCount();
	{
		const Entries firstRead = CheckRead(firstBytes);
		const Entries secondRead = CheckRead(secondBytes);
		CheckMerge(firstBytes, secondBytes, flags, firstRead, secondRead);

		// Any other code is no merge: nothing done, nothing handed over.
		HostSdk::ModuleDataRecord untouched {};
		FUZZ_CHECK(ModuleDataMergeHandler(HostSdk::MergeCode + 1, nullptr, nullptr, &untouched) == HostSdk::StatusOk);
		FUZZ_CHECK(untouched.dataHandle == VX::NoHandle);
	}
	FUZZ_CHECK(VX::LiveHandleCount() == liveHandles);
	// The merge teaches the preferences; each input starts from none.
	DiscardPreferencesForTesting();
	return 0;
}
