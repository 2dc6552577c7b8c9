// The published locations, keyed by id. Ids grow and wrap around past the live ones, so a
// stale id is unlikely to name a newer location.
#include "IO/LocationTable.hpp"

#include <mutex>
#include <unordered_map>

namespace IO {

namespace {

struct TableState {
	std::mutex lock;
	std::unordered_map<LocationId, Location> locations;
	LocationId lastId = NoLocation;
};

TableState& State()
{
	// Never destroyed: locations may be released from other libraries' destructors at exit.
	static TableState* state = new TableState;
	return *state;
}

} // namespace

LocationId PublishLocation(const Location& location)
{
	TableState& state = State();
	std::lock_guard guard(state.lock);
	if (state.locations.size() >= 0xFFFFFFFEu)
		return NoLocation;
	do {
		++state.lastId;
	} while (state.lastId == NoLocation || state.locations.contains(state.lastId));
	state.locations.emplace(state.lastId, location);
	return state.lastId;
}

bool LookUpLocation(LocationId id, Location* out)
{
	TableState& state = State();
	std::lock_guard guard(state.lock);
	const auto found = state.locations.find(id);
	if (found == state.locations.end()) {
		if (out != nullptr)
			out->Clear();
		return false;
	}
	if (out != nullptr)
		*out = found->second;
	return true;
}

bool ReleaseLocation(LocationId id)
{
	if (id == NoLocation)
		return true;
	TableState& state = State();
	std::lock_guard guard(state.lock);
	return state.locations.erase(id) != 0;
}

std::size_t LiveLocationCount()
{
	TableState& state = State();
	std::lock_guard guard(state.lock);
	return state.locations.size();
}

} // namespace IO
