// The host's menus as far as add-ons reach them: the items add-ons register (entry 10), one
// per text of the registered menu string list, read from the add-on's own resources; the
// handlers they install per menu string list (entry 31); the item flags they read and write
// through the interface operation ('GMIF', 'SMIF'), whose bit 0x2 is the check mark a person
// sees; and the dispatch of a chosen item to its handler.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"
#include "Transcript.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ReferenceHost {

// Reads the texts of a string list of an add-on's resources, item 1 first; empty when the
// list does not exist.
using StringListReader = std::function<std::vector<std::string>(const AddOn& addOn, std::int32_t listId)>;

struct MenuItem {
	const AddOn* owner = nullptr;
	std::int16_t menuStringListId = 0;
	std::int16_t itemIndex = 0; // within the string list, from 1
	std::uint16_t promptStringListId = 0;
	std::uint32_t placement = 0;
	std::uint32_t registrationFlags = 0;
	std::string resourceText; // as the string list holds it, host codes included
	std::string text;         // as the person sees it
	std::string prompt;       // the status bar text, from the prompt string list
	std::uint32_t flags = 0;  // the item flags of 'GMIF' / 'SMIF'

	bool Checked() const { return (flags & HostSdk::MenuItemCheckedFlag) != 0; }
};

// What choosing a menu item led to.
struct MenuChoice {
	bool dispatched = false; // a handler was installed and called
	HostStatus status = 0;   // its answer
};

class MenuBar {
public:
	MenuBar(AddOnList& addOns, Transcript& transcript, StringListReader readStrings);

	// Offers entries 10 and 31 and the selectors 'GMIF' and 'SMIF' of entry 72.
	void Install(HostFunctionTable& table);

	const std::vector<MenuItem>& Items() const { return items; }
	// By the text a person sees: an exact match first, else the one item whose text matches
	// regardless of case; null when none or several do.
	const MenuItem* Find(std::string_view text) const;
	const MenuItem* Find(const AddOn& owner, std::int16_t menuStringListId, std::int16_t itemIndex) const;
	std::vector<const MenuItem*> ItemsOf(const AddOn& owner) const;
	// The handler the add-on installed for a menu string list; null when none.
	HostSdk::MenuCommandHandler HandlerOf(const AddOn& owner, std::int16_t menuStringListId) const;

	// A person chooses the item: its owner's handler for the item's string list is called
	// with the item's menu parameters.
	MenuChoice Choose(const MenuItem& item);
	// Calls the handler an add-on installed for one string list with any parameters, as a
	// host that mixed up its menus would (tests: a command of another list).
	MenuChoice SendParams(AddOn& owner, std::int16_t handlerStringListId, const HostSdk::MenuParams& params);

	// Puts every item into the transcript as a person sees the menu now.
	void Show();
	// One item as a person sees it: "[x] Facetally" or "[ ] Facetally".
	static std::string Line(const MenuItem& item);
	// The shown text of a resource text: what comes before the host's codes ("^E3").
	static std::string ShownText(std::string_view resourceText);

	// Drops everything of an add-on that is being unloaded.
	void Forget(const AddOn& addOn);

private:
	HostStatus Register(const HostSdk::MenuRegistrationRecord* record);
	HostStatus InstallHandler(ModuleToken token, std::int16_t menuStringListId, HostSdk::MenuCommandHandler handler);
	HostStatus GetFlags(ModuleToken token, void* first, void* second);
	HostStatus SetFlags(ModuleToken token, void* first, void* second);
	MenuItem* FindMutable(const AddOn& owner, std::int16_t menuStringListId, std::int16_t itemIndex);

	AddOnList& addOns;
	Transcript& transcript;
	StringListReader readStrings;
	std::vector<MenuItem> items;
	std::map<std::pair<const AddOn*, std::int16_t>, HostSdk::MenuCommandHandler> handlers;
};

} // namespace ReferenceHost
