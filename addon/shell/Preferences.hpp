// The add-on's settings and how they live in the project. The preferences are what the rest
// of the module reads and writes at run time: the filters of the palette, the default level
// of detail and the level chosen per library part. The stored preferences are a cache of what
// the project's module data held when last read. The module data are one block of text pairs
// per project (library-part identifier, level in decimal), with the default level carried
// under the palette's own identifier; FacetallyModuleData turns blocks into tables and back.
//
// Both objects are built on first use and live until the module is unloaded; project events
// never rebuild them (the project closing only marks the stored ones for reading again).
#pragma once

#include "counting/CountResult.hpp"

#include "HostSdk/HostRecords.hpp"

#include <cstddef>
#include <cstdint>

// The key under which the default level travels inside the level table while the table is
// written or read; the palette's identity, so no library part can have it.
inline constexpr const char* DefaultLevelKey = "{9349160F-1FF1-4be3-9909-314107CCB286}";
// The data version of the block format; blocks of any other version are not read.
inline constexpr std::uint32_t ModuleDataVersion = 2;

class Preferences {
public:
	// The level table and the default level start as those of the stored preferences.
	Preferences();

	bool selectionOnly = false;
	bool allStories = false;
	std::int32_t fromStory = 0;
	std::int32_t toStory = 0;
	std::int16_t defaultLevel = 0;
	// Library-part identifier → chosen level code.
	LevelTable levelTable;

	// Stores the levels of the current count result, then writes the level table and the
	// default level into the project's module data (the project is about to be saved). Write
	// failures are not reported. Module data of a newer data version found in the project are
	// left as they are: a newer add-on wrote them, and writing would destroy them. Data of an
	// older version are replaced by data of this version.
	void WritePreferences();
};

class StoredPreferences {
public:
	LevelTable levelTable;
	std::int16_t defaultLevel = 0;
	bool loaded = false;

	// Reads the project's module data unless they were read since the last MarkNotLoaded. A
	// failed read keeps the previous default level and shows the error message; either way
	// the data count as loaded.
	void EnsureLoaded();
	// EnsureLoaded, then the default level; 3 ("Custom") when the project holds none.
	std::int16_t StoredDefaultLevel();
	// The project is closing: the next use reads the next project's module data.
	void MarkNotLoaded();
	// The last load found module data in the project that a newer add-on wrote (a data version
	// above this module's, or a host refusing them for their version).
	bool FoundNewerData() const { return foundNewerData; }

private:
	bool foundNewerData = false;
};

// The module's preferences, built (after loading the stored preferences) on first use.
Preferences& GetPreferences();
// The module's stored preferences, built empty and not loaded on first use.
StoredPreferences& GetStoredPreferences();
// Drops both, so that the next use builds them anew as at load; for tests of the module's
// code linked into a test program, where the module is never unloaded.
void DiscardPreferencesForTesting();

// The open project's module data took in another project's levels (a merge): the stored
// preferences read the merged data at their next use, and the preferences learn the parts they
// did not know, with the other project's levels (a part they know keeps its level, and the
// default level stays), so the next save keeps what the merge brought.
void TakeMergedLevels(const LevelTable& incoming);

// Writes the level of every row of the current count result's sorted rows into the
// preferences' level table (replacing or adding) and takes the result's default level.
// Nothing happens when there is no current count result.
void StoreRowLevels(Preferences& preferences);

namespace FacetallyModuleData {

// Fills table from the record's data block (the record's owner keeps the block), or from the
// project's module data when record is null (the block read is freed). The table is cleared
// first. A failed read from the project shows the error message with the status and answers
// it; no module data in the project is no failure and gives an empty table. When the project's
// data are of another data version (0x81060196), foundVersion (if given) receives it.
//
// Damaged blocks: every whole entry is kept. An entry whose identifier or level text is
// longer than 255 characters is skipped and the walk goes on after it; an entry the block
// ends inside of (a text without its terminating zero, or an identifier without a level) is
// dropped and ends the walk. A level text that is not a number in the range of the level
// codes' type repeats the level before it (3 for the first entry).
HostSdk::HostStatus ReadValues(
	LevelTable& table, const HostSdk::ModuleDataRecord* record, std::uint32_t* foundVersion = nullptr);

// Turns the table into a data block, leaving out parts without a level-of-detail parameter
// (level 5). With a record the block's handle goes into its data-handle field and belongs to
// the caller; without one the block is stored as the project's module data and freed, and
// the host's status is answered.
HostSdk::HostStatus WriteValues(const LevelTable& table, HostSdk::ModuleDataRecord* record);

// The walk of ReadValues over a block in memory.
void ParseDataBlock(const char* bytes, std::size_t size, LevelTable& table);

} // namespace FacetallyModuleData
