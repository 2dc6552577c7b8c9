// The preferences, the stored preferences, and the module-data block format they are kept in.
#include "shell/Preferences.hpp"

#include "lod/Dlg_ErrorMessage.hpp"
#include "shell/HostCalls.hpp"

#include "VX/Memory.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr std::int16_t CustomLevel = 3;
constexpr std::int16_t LevelsNotStoredMessage = 135;
// A library part without a level-of-detail parameter has nothing worth keeping.
constexpr short NoLevelParameter = 5;
// Each text of an entry: at most this many characters and its terminating zero.
constexpr std::size_t TextLimit = 255;

std::unique_ptr<StoredPreferences> storedPreferences;
std::unique_ptr<Preferences> preferences;

const GuidStr& DefaultKey()
{
	static const GuidStr key(DefaultLevelKey);
	return key;
}

// A level text read as "%hd" reads it: leading blanks, a sign, digits, anything after them
// ignored. Unlike "%hd", a number beyond the range of short is refused instead of wrapped.
bool ParseLevelText(const char* text, short& level)
{
	errno = 0;
	char* end = nullptr;
	const long value = std::strtol(text, &end, 10);
	if (end == text || errno == ERANGE || value < std::numeric_limits<short>::min() ||
		value > std::numeric_limits<short>::max())
		return false;
	level = static_cast<short>(value);
	return true;
}

// The project's module data: status 0 and the block's handle (0 when the project holds no
// data), which the caller frees; or the failure, with no handle left to anyone. Data of another
// version answer 0x81060196 and leave their version in version.
HostSdk::HostStatus ReadProjectBlock(VX::HandleId& block, std::uint32_t& version)
{
	block = VX::NoHandle;
	HostSdk::ModuleDataRecord record {};
	HostSdk::HostStatus status = HostCalls::QueryModuleData(&record);
	if (status == HostSdk::StatusNoModuleData)
		return HostSdk::StatusOk;
	// Whatever a host leaves in the record belongs to the module; the query is not meant to
	// leave a block, but one left there must not outlive the read that replaces it.
	const VX::HandleId leftByQuery = record.dataHandle;
	if (status == HostSdk::StatusOk)
		status = HostCalls::ReadModuleData(&record);
	if (leftByQuery != record.dataHandle)
		VX::FreeHandle(leftByQuery);
	if (status == HostSdk::StatusOk && record.dataVersion != ModuleDataVersion) {
		version = record.dataVersion;
		status = HostSdk::StatusBadDataVersion;
	}
	if (status != HostSdk::StatusOk) {
		VX::FreeHandle(record.dataHandle);
		return status;
	}
	block = record.dataHandle;
	return HostSdk::StatusOk;
}

void ShowReadError(HostSdk::HostStatus status)
{
	Dlg_ErrorMessage message(status, "FacetallyModuleData, ReadValues ()");
	message.Invoke();
}

} // namespace

// ---- The block format --------------------------------------------------------------------

namespace FacetallyModuleData {

void ParseDataBlock(const char* bytes, std::size_t size, LevelTable& table)
{
	if (bytes == nullptr)
		return;
	// Not reset between entries: a level text that does not parse repeats the one before.
	short level = CustomLevel;
	std::size_t offset = 0;
	while (offset < size) {
		const char* identifier = bytes + offset;
		const auto* identifierEnd = static_cast<const char*>(std::memchr(identifier, '\0', size - offset));
		if (identifierEnd == nullptr)
			break;
		const std::size_t levelOffset = static_cast<std::size_t>(identifierEnd - bytes) + 1;
		if (levelOffset >= size)
			break;
		const char* levelText = bytes + levelOffset;
		const auto* levelEnd = static_cast<const char*>(std::memchr(levelText, '\0', size - levelOffset));
		if (levelEnd == nullptr)
			break;
		offset = static_cast<std::size_t>(levelEnd - bytes) + 1;

		// Cutting an over-long identifier could make it another part's; such an entry is
		// not of this format and means nothing.
		if (static_cast<std::size_t>(identifierEnd - identifier) > TextLimit ||
			static_cast<std::size_t>(levelEnd - levelText) > TextLimit)
			continue;
		ParseLevelText(levelText, level);
		table.Add(GuidStr(identifier), level);
	}
}

HostSdk::HostStatus ReadValues(LevelTable& table, const HostSdk::ModuleDataRecord* record, std::uint32_t* foundVersion)
{
	VX::HandleId block = VX::NoHandle;
	HostSdk::HostStatus status = HostSdk::StatusOk;
	std::uint32_t version = ModuleDataVersion;
	if (record != nullptr)
		block = record->dataHandle;
	else
		status = ReadProjectBlock(block, version);
	if (foundVersion != nullptr)
		*foundVersion = version;

	table.Clear();
	if (status != HostSdk::StatusOk) {
		ShowReadError(status);
		return status;
	}
	if (block != VX::NoHandle)
		ParseDataBlock(static_cast<const char*>(VX::GetHandleData(block)), VX::GetHandleSize(block), table);
	if (record == nullptr)
		VX::FreeHandle(block);
	return status;
}

HostSdk::HostStatus WriteValues(const LevelTable& table, HostSdk::ModuleDataRecord* record)
{
	// "%d" of a short: a sign and five digits at most.
	char levelText[8];
	std::size_t size = 0;
	for (const auto& entry : table.Pairs()) {
		if (entry.GetValue() == NoLevelParameter)
			continue;
		const int length = std::snprintf(levelText, sizeof levelText, "%d", entry.GetValue());
		size += entry.GetKey().GetLength() + static_cast<std::size_t>(length) + 2;
	}

	const VX::HandleId block = VX::AllocateHandle(size);
	if (block == VX::NoHandle)
		return HostSdk::StatusRefused;
	char* bytes = static_cast<char*>(VX::GetHandleData(block));
	std::size_t offset = 0;
	for (const auto& entry : table.Pairs()) {
		if (entry.GetValue() == NoLevelParameter)
			continue;
		const GuidStr& identifier = entry.GetKey();
		std::memcpy(bytes + offset, identifier.ToCStr(), identifier.GetLength() + 1);
		offset += identifier.GetLength() + 1;
		const int length = std::snprintf(levelText, sizeof levelText, "%d", entry.GetValue());
		std::memcpy(bytes + offset, levelText, static_cast<std::size_t>(length) + 1);
		offset += static_cast<std::size_t>(length) + 1;
	}

	if (record != nullptr) {
		record->dataHandle = block;
		return HostSdk::StatusOk;
	}
	HostSdk::ModuleDataRecord stored {};
	stored.dataVersion = ModuleDataVersion;
	stored.platformMark = HostSdk::PlatformMark;
	stored.dataHandle = block;
	const HostSdk::HostStatus status = HostCalls::StoreModuleData(&stored);
	VX::FreeHandle(block);
	return status;
}

} // namespace FacetallyModuleData

// ---- The two objects ---------------------------------------------------------------------

Preferences::Preferences()
{
	StoredPreferences& stored = GetStoredPreferences();
	stored.EnsureLoaded();
	levelTable = stored.levelTable;
	defaultLevel = stored.defaultLevel;
}

void Preferences::WritePreferences()
{
	// What the project holds must be known before it is written over (see FoundNewerData).
	StoredPreferences& stored = GetStoredPreferences();
	stored.EnsureLoaded();
	StoreRowLevels(*this);
	if (stored.FoundNewerData())
		return;
	levelTable.Put(DefaultKey(), defaultLevel);
	const HostSdk::HostStatus status = FacetallyModuleData::WriteValues(levelTable, nullptr);
	levelTable.Delete(DefaultKey());
	// The person saved believing the chosen levels kept; they must learn that they were not.
	if (status != HostSdk::StatusOk) {
		Dlg_ErrorMessage message(LevelsNotStoredMessage, false);
		message.Invoke();
	}
}

void StoredPreferences::EnsureLoaded()
{
	if (loaded)
		return;
	std::uint32_t version = ModuleDataVersion;
	const HostSdk::HostStatus status = FacetallyModuleData::ReadValues(levelTable, nullptr, &version);
	// Older data are superseded by this format; newer data belong to a newer add-on, and so
	// does anything the version of which is not known to be older.
	foundNewerData = status == HostSdk::StatusBadDataVersion && !(version < ModuleDataVersion);
	if (status == HostSdk::StatusOk) {
		short level = CustomLevel;
		if (levelTable.Get(DefaultKey(), &level)) {
			defaultLevel = level;
			levelTable.Delete(DefaultKey());
		} else {
			defaultLevel = CustomLevel;
		}
	}
	loaded = true;
}

std::int16_t StoredPreferences::StoredDefaultLevel()
{
	EnsureLoaded();
	return defaultLevel;
}

void StoredPreferences::MarkNotLoaded()
{
	loaded = false;
	foundNewerData = false;
}

StoredPreferences& GetStoredPreferences()
{
	if (storedPreferences == nullptr)
		storedPreferences = std::make_unique<StoredPreferences>();
	return *storedPreferences;
}

Preferences& GetPreferences()
{
	if (preferences == nullptr)
		preferences = std::make_unique<Preferences>();
	return *preferences;
}

void DiscardPreferencesForTesting()
{
	preferences.reset();
	storedPreferences.reset();
}

void TakeMergedLevels(const LevelTable& incoming)
{
	if (storedPreferences != nullptr)
		storedPreferences->MarkNotLoaded();
	if (preferences == nullptr)
		return;
	for (const auto& entry : incoming.Pairs())
		if (!(entry.GetKey() == DefaultKey()))
			preferences->levelTable.Add(entry.GetKey(), entry.GetValue());
}

void StoreRowLevels(Preferences& target)
{
	const CountResult* result = CurrentCountResult();
	if (result == nullptr)
		return;
	for (const auto& rowsOfType : result->sortedRows.Pairs())
		for (const LibRow& row : rowsOfType.GetValue())
			target.levelTable.Put(row.guid, row.lod);
	target.defaultLevel = result->defaultLod;
}
