// The probe: the Facetally module built a second time, with one more export through which a
// test plays the parts that do not exist yet (the filter pages and the change dialog of the
// palette: settings, Refresh, the level chosen per library part) and looks at what the real
// module knows (the current count result, the preferences) and at the host calls it makes.
// The host loads it like any add-on; the real module keeps its two exports alone.
#pragma once

#include "DG/ListBox.hpp"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ProbeSettings {
	bool selectionOnly = true;
	bool allStories = true;
	std::int32_t fromStory = 0;
	std::int32_t toStory = 0;
	std::int16_t defaultLevel = 3;
};

struct ProbeRow {
	std::string name;
	std::string guid;
	std::int32_t objects = 0;
	std::int32_t polygons = 0;
	std::int16_t lod = 0;
	std::array<bool, 5> available {};
	std::uint32_t lockFlags = 0;
};

// A copy of the current count result, in plain types.
struct ProbeResult {
	bool exists = false;
	std::int32_t totalPolygons = 0;
	std::int16_t defaultLod = 0;
	std::array<std::int32_t, 34> elementsPerType {};
	std::array<std::int32_t, 34> polygonsPerType {};
	// Booking type → its rows in display order.
	std::map<int, std::vector<ProbeRow>> sortedRows;
	// Library-part index → the level-of-detail caches.
	std::map<long, std::string> lodParamNames;
	std::map<long, long> lodParamIndex;
	std::map<long, std::string> lodValueTexts;
	std::map<long, short> partLodWanted;
};

// One host call the module made, as the probe saw it pass.
struct ProbeCall {
	int entry = 0;
	std::uint32_t selector = 0; // selector operations only
	std::int32_t type = 0;      // element type, where the call names one
	std::int32_t index = 0;     // element or library-part index, where the call names one
	std::uint32_t bits = 0;     // filter bits of the filter test
};

struct ProbeControl {
	// The open palette's settings, as a person would set them on its pages; false when the
	// palette is closed.
	bool (*setSettings)(const ProbeSettings& settings);
	bool (*getSettings)(ProbeSettings& settings);
	// The palette's Refresh command; false when the palette is closed.
	bool (*refresh)();
	void (*readResult)(ProbeResult& result);
	// The preferences' level table, as the change dialog writes it.
	void (*setPartLevel)(const char* guid, std::int16_t level);
	bool (*partLevel)(const char* guid, std::int16_t& level);
	std::int16_t (*preferencesDefaultLevel)();
	bool (*missingPartMessagesOff)();
	// Records the calls of the element, library-part, parameter and 3D entries from now on,
	// in order; stopLog ends the recording and answers what was recorded.
	void (*startLog)();
	std::vector<ProbeCall> (*stopLog)();
	// The Select command on a list the test filled, as no person can fill the palette's.
	void (*selectCounted)(
		const DG::ListBox& list, bool selectionOnly, bool allStories, std::int32_t firstStory, std::int32_t lastStory);
	// Removes a part from the preferences' level table, as a merge of another project's
	// levels can change the table while the list still shows the part.
	void (*forgetPartLevel)(const char* guid);
};

extern "C" const ProbeControl* FacetallyProbeControl();
inline constexpr const char* ProbeControlName = "FacetallyProbeControl";
