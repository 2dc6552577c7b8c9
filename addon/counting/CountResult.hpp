// CountResult: everything one counting run learns about the project. Per booking type the
// counted elements and their polygons, per library part its row, the rows of each type in
// display order, the total, and the per-part caches the level-of-detail change reads while it
// rewrites elements. The current count result is the one the palette, the Select command and
// the level-of-detail change all read; the shell owns it.
#pragma once

#include "counting/ElementTypes.hpp"
#include "counting/GuidStr.hpp"
#include "counting/LibRow.hpp"

#include "VX/String.hpp"
#include "VXRoot/HashTable.hpp"

#include <array>
#include <cstdint>
#include <vector>

class CountResult {
public:
	// Every table starts with the container's defaults (limit 0 and fill factor 0 ask for them).
	CountResult();
	CountResult(const CountResult&) = delete;
	CountResult& operator=(const CountResult&) = delete;

	// Per row-bearing type: library-part index → the part's row.
	VX::HashTable<API_ElemTypeID, VX::HashTable<long, LibRow>> partRows;
	// Per row-bearing type: the library-part indexes met in this run (value always 0).
	VX::HashTable<API_ElemTypeID, VX::HashTable<long, int>> seenParts;
	// The preferences' default level of detail, copied at the start of the run.
	std::int16_t defaultLod = 0;
	std::int32_t totalPolygons = 0;
	// Library-part index → name of its level-of-detail parameter.
	VX::HashTable<long, VX::String> lodParamNames;
	// Library-part index → level of detail wanted for it in the preferences.
	VX::HashTable<long, short> partLodWanted;
	// Library-part index → position of the level-of-detail parameter in the part's list.
	VX::HashTable<long, long> lodParamIndex;
	// Library-part index → the parameter value text the wanted level stands for.
	VX::HashTable<long, VX::String> lodValueTexts;
	// Per booking type 0..33.
	std::array<std::int32_t, ElementTypes::NamedCount> elementsPerType {};
	std::array<std::int32_t, ElementTypes::NamedCount> polygonsPerType {};
	// Per row-bearing type: copies of its rows in RowOrder. Readers keep pointers into these
	// vectors until the current count result is replaced.
	VX::HashTable<API_ElemTypeID, std::vector<LibRow>> sortedRows;
};

// The preferences' level table: level of detail chosen per library part, by identifier.
using LevelTable = VX::HashTable<GuidStr, short>;

// Prepares a result for a run: counters at 0, no rows or sorted rows, an empty row table and
// seen-part table per row-bearing type (4, 5, 6, 7, 33 in this order), empty caches, and the
// wanted level per library-part index found from the level table through the host's
// library-part search. Identifiers the host does not find are left out silently.
void ResetCountResult(CountResult& result, const LevelTable& levelTable);

// The result of the last finished run, or null.
CountResult* CurrentCountResult();
// Makes result (which the shell then owns) the current one without deleting the one before:
// a run keeps that until it knows whether it finished or was cancelled.
void SetCurrentCountResult(CountResult* result);
// Deletes the current result, if any, and leaves none: at project event 32 and ReleaseAddOn.
void DestroyCurrentCountResult();
// Gives the part's rows in the result the level stored for it without a run, so the rows,
// which are written back into the level table before every save and run, keep it.
void TakeStoredLevel(CountResult& result, const GuidStr& guid, std::int16_t level);
