// Palette registration, removal and the host's control messages. A panel id is registered
// once: registering it again replaces the earlier record.
#include "PaletteRegistry.hpp"

#include "StatusText.hpp"

#include <algorithm>

namespace ReferenceHost {

PaletteRegistry::PaletteRegistry(AddOnList& addOnList, Transcript& sessionTranscript)
	: addOns(addOnList), transcript(sessionTranscript)
{
}

void PaletteRegistry::Install(HostFunctionTable& table)
{
	table.Implement<HostSdk::Entry::PaletteRegistration>(
		[this](
			ModuleToken token, const HostSdk::PaletteRegistrationRecord* record) { return Register(token, record); });
	table.Implement<HostSdk::Entry::PaletteRemoval>(
		[this](ModuleToken token, std::int32_t panelId) { return Remove(token, panelId); });
}

HostStatus PaletteRegistry::Register(ModuleToken token, const HostSdk::PaletteRegistrationRecord* record)
{
	AddOn* owner = addOns.FromToken(token);
	if (owner == nullptr)
		return HostSdk::StatusRefused;
	if (record == nullptr || record->callback == nullptr)
		return HostSdk::StatusBadParameter;
	const PaletteRegistration registration {owner, record->panelId, record->callback, record->flags};
	const auto existing = std::find_if(registered.begin(), registered.end(),
		[&](const PaletteRegistration& palette) { return palette.panelId == record->panelId; });
	if (existing != registered.end())
		*existing = registration;
	else
		registered.push_back(registration);
	transcript.Add(TranscriptKind::Detail,
		owner->Name() + " registered palette " + std::to_string(record->panelId) + " (flags " +
			std::to_string(record->flags) + ")");
	return 0;
}

HostStatus PaletteRegistry::Remove(ModuleToken token, std::int32_t panelId)
{
	AddOn* owner = addOns.FromToken(token);
	if (owner == nullptr)
		return HostSdk::StatusRefused;
	const auto found = std::find_if(registered.begin(), registered.end(),
		[&](const PaletteRegistration& palette) { return palette.panelId == panelId && palette.owner == owner; });
	if (found == registered.end())
		return HostSdk::StatusBadIndex;
	registered.erase(found);
	transcript.Add(TranscriptKind::Detail, owner->Name() + " removed palette " + std::to_string(panelId));
	return 0;
}

const PaletteRegistration* PaletteRegistry::Find(std::int32_t panelId) const
{
	for (const PaletteRegistration& palette : registered)
		if (palette.panelId == panelId)
			return &palette;
	return nullptr;
}

std::size_t PaletteRegistry::SendToAll(std::int32_t message, std::int32_t parameter)
{
	const std::vector<PaletteRegistration> snapshot = registered;
	std::size_t called = 0;
	for (const PaletteRegistration& palette : snapshot) {
		const PaletteRegistration* current = Find(palette.panelId);
		if (current == nullptr || current->owner != palette.owner)
			continue;
		AddOn* owner = addOns.FromToken(current->owner->Token());
		if (owner == nullptr)
			continue;
		const HostStatus status = owner->Call(current->callback, current->panelId, message, parameter);
		transcript.Add(TranscriptKind::Detail,
			"palette " + std::to_string(palette.panelId) + " of " + owner->Name() + " got message " +
				std::to_string(message) + ", answered " + StatusText(status));
		++called;
	}
	return called;
}

void PaletteRegistry::Forget(const AddOn& addOn)
{
	std::erase_if(registered, [&](const PaletteRegistration& palette) { return palette.owner == &addOn; });
}

} // namespace ReferenceHost
