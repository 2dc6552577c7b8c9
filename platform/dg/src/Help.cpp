// The registered additional help locations.
#include "DG/Help.hpp"

#include <algorithm>

namespace DG {

namespace {
std::vector<HelpLocation>& Registered()
{
	static std::vector<HelpLocation>* registered = new std::vector<HelpLocation>;
	return *registered;
}

auto ByPair(std::uint32_t developerId, std::uint32_t localId)
{
	return [=](const HelpLocation& help) { return help.developerId == developerId && help.localId == localId; };
}
} // namespace

std::int32_t RegisterAdditionalHelpLocation(
	std::uint32_t developerId, std::uint32_t localId, const IO::Location& location)
{
	if (location.GetStatus() != IO::Status::Ok)
		return HelpBadLocation;
	std::vector<HelpLocation>& registered = Registered();
	auto found = std::find_if(registered.begin(), registered.end(), ByPair(developerId, localId));
	if (found != registered.end())
		found->location = location;
	else
		registered.push_back(HelpLocation {developerId, localId, location});
	return HelpNoError;
}

std::int32_t UnregisterAdditionalHelpLocation(std::uint32_t developerId, std::uint32_t localId)
{
	return std::erase_if(Registered(), ByPair(developerId, localId)) > 0 ? HelpNoError : HelpNotRegistered;
}

std::vector<HelpLocation> GetAdditionalHelpLocations()
{
	return Registered();
}

} // namespace DG
