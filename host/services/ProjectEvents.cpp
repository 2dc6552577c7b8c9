// Registration and delivery of project events.
#include "ProjectEvents.hpp"

#include "StatusText.hpp"

#include <cstdio>

namespace ReferenceHost {

ProjectEvents::ProjectEvents(AddOnList& addOnList, Transcript& sessionTranscript)
	: addOns(addOnList), transcript(sessionTranscript)
{
}

void ProjectEvents::Install(HostFunctionTable& table)
{
	table.Implement<HostSdk::Entry::EventRegistration>(
		[this](ModuleToken token, std::uint32_t mask, HostSdk::ProjectEventHandler handler) {
			return Register(token, mask, handler);
		});
}

HostStatus ProjectEvents::Register(ModuleToken token, std::uint32_t mask, HostSdk::ProjectEventHandler handler)
{
	AddOn* addOn = addOns.FromToken(token);
	if (addOn == nullptr)
		return HostSdk::StatusRefused;
	if (handler == nullptr) {
		registrations.erase(addOn);
		transcript.Add(TranscriptKind::Detail, addOn->Name() + " no longer receives project events");
	} else {
		registrations[addOn] = {mask, handler};
		char maskText[16];
		std::snprintf(maskText, sizeof maskText, "0x%X", mask);
		transcript.Add(TranscriptKind::Detail, addOn->Name() + " receives project events of mask " + maskText);
	}
	return 0;
}

std::vector<EventDelivery> ProjectEvents::Raise(std::int32_t code)
{
	transcript.Add(TranscriptKind::Detail, "project event " + EventName(code));
	std::vector<EventDelivery> deliveries;
	for (AddOn* addOn : addOns.Loaded()) {
		// Looked up now: an earlier handler may have changed any registration.
		const auto found = registrations.find(addOn);
		if (found == registrations.end() || !addOn->IsLoaded())
			continue;
		const EventRegistration registration = found->second;
		if ((registration.mask & static_cast<std::uint32_t>(code)) == 0)
			continue;
		const HostStatus status = addOn->Call(registration.handler, code, std::int32_t {0});
		transcript.Add(TranscriptKind::Detail, "  delivered to " + addOn->Name() + ", answered " + StatusText(status));
		deliveries.push_back({addOn, status});
	}
	return deliveries;
}

std::optional<EventRegistration> ProjectEvents::RegistrationOf(const AddOn& addOn) const
{
	const auto found = registrations.find(&addOn);
	if (found == registrations.end())
		return std::nullopt;
	return found->second;
}

std::string ProjectEvents::EventName(std::int32_t code)
{
	namespace Events = HostSdk::ProjectEvents;
	const char* name = nullptr;
	switch (code) {
	case Events::New: name = "new project"; break;
	case Events::Quit: name = "quit"; break;
	case Events::Open: name = "open project"; break;
	case Events::Save: name = "save"; break;
	case Events::Changed: name = "project changed"; break;
	case Events::Close: name = "close project"; break;
	case Events::Reserved: name = "reserved"; break;
	case Events::SaveAs: name = "save as"; break;
	default: break;
	}
	return std::to_string(code) + (name != nullptr ? std::string(" (") + name + ")" : std::string());
}

void ProjectEvents::Forget(const AddOn& addOn)
{
	registrations.erase(&addOn);
}

} // namespace ReferenceHost
