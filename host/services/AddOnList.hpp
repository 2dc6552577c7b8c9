// The add-ons a host session has loaded, in load order, with the module token each one is
// handed and the stack of calls into them. The host's services find the calling add-on here:
// by the token every call passes first, or, for the menu registration that passes none, as
// the add-on the host is calling into. Add-ons stay listed after they are unloaded, so their
// lifecycle can still be looked at; they just no longer answer to their token.
#pragma once

#include "AddOn.hpp"

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

namespace ReferenceHost {

class AddOnList {
public:
	// A new, not yet loaded add-on with a fresh token.
	AddOn& Add(std::filesystem::path file);

	// The loaded add-on holding the token; null for a token the host never handed out, for
	// 0, and for an unloaded add-on.
	AddOn* FromToken(ModuleToken token) const;
	// The add-on the host is calling into; null outside any call.
	AddOn* InCall() const { return calls.Current(); }

	// Loaded add-ons in load order.
	std::vector<AddOn*> Loaded() const;
	// Every add-on ever added, in load order.
	const std::vector<std::unique_ptr<AddOn>>& All() const { return addOns; }
	// The loaded add-on with this name (as it identified itself), null when none.
	AddOn* Find(std::string_view name) const;

	AddOnCallStack& Calls() { return calls; }

private:
	AddOnCallStack calls;
	std::vector<std::unique_ptr<AddOn>> addOns;
	ModuleToken nextToken = 0x46540001u;
};

} // namespace ReferenceHost
