// Project events: the add-ons' registrations (entry 250: an event mask and a handler; no
// handler ends the registration) and the raising of an event, which calls every registered
// add-on whose mask has the event's bit. Which host action raises which code is the host's
// business (Host, docs/host.md); this only delivers.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"
#include "Transcript.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ReferenceHost {

struct EventRegistration {
	std::uint32_t mask = 0;
	HostSdk::ProjectEventHandler handler = nullptr;
};

// One delivery of a raised event.
struct EventDelivery {
	const AddOn* addOn = nullptr;
	HostStatus status = 0;
};

class ProjectEvents {
public:
	ProjectEvents(AddOnList& addOns, Transcript& transcript);

	// Offers entry 250.
	void Install(HostFunctionTable& table);

	// Calls, in load order, every add-on registered for the code's bits with (code, 0). A
	// handler may register or deregister any add-on meanwhile; each add-on is called with
	// its registration as it stands when its turn comes.
	std::vector<EventDelivery> Raise(std::int32_t code);

	std::optional<EventRegistration> RegistrationOf(const AddOn& addOn) const;
	std::size_t RegisteredCount() const { return registrations.size(); }

	static std::string EventName(std::int32_t code);

	void Forget(const AddOn& addOn);

private:
	HostStatus Register(ModuleToken token, std::uint32_t mask, HostSdk::ProjectEventHandler handler);

	AddOnList& addOns;
	Transcript& transcript;
	std::map<const AddOn*, EventRegistration> registrations;
};

} // namespace ReferenceHost
