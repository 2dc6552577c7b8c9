// The modeless palettes add-ons register with the host (entry 53: panel id, control callback,
// flags) and remove again (entry 54). The host keeps them to send them its control messages:
// hide (2) and show (3), as when a person hides the host's palettes and brings them back.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"
#include "Transcript.hpp"

#include <cstdint>
#include <vector>

namespace ReferenceHost {

struct PaletteRegistration {
	const AddOn* owner = nullptr;
	std::int32_t panelId = 0;
	HostSdk::PaletteControlCallback callback = nullptr;
	std::uint32_t flags = 0;
};

class PaletteRegistry {
public:
	PaletteRegistry(AddOnList& addOns, Transcript& transcript);

	// Offers entries 53 and 54.
	void Install(HostFunctionTable& table);

	const std::vector<PaletteRegistration>& Registered() const { return registered; }
	const PaletteRegistration* Find(std::int32_t panelId) const;

	// Sends the message to every registered palette, in registration order; a palette that
	// its callback removes meanwhile is not called again. Returns how many were called.
	std::size_t SendToAll(std::int32_t message, std::int32_t parameter = 0);

	void Forget(const AddOn& addOn);

private:
	HostStatus Register(ModuleToken token, const HostSdk::PaletteRegistrationRecord* record);
	HostStatus Remove(ModuleToken token, std::int32_t panelId);

	AddOnList& addOns;
	Transcript& transcript;
	std::vector<PaletteRegistration> registered;
};

} // namespace ReferenceHost
