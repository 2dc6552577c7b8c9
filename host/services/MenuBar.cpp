// The menu entries of the host function table and the dispatch of menu commands. A record or
// flag pointer from an add-on may be null: the call is refused, nothing is read through it.
#include "MenuBar.hpp"

#include "HostText.hpp"
#include "StatusText.hpp"

#include <algorithm>
#include <cctype>

namespace ReferenceHost {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
	return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
		return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
	});
}

} // namespace

MenuBar::MenuBar(AddOnList& addOnList, Transcript& sessionTranscript, StringListReader stringReader)
	: addOns(addOnList), transcript(sessionTranscript), readStrings(std::move(stringReader))
{
}

void MenuBar::Install(HostFunctionTable& table)
{
	table.Implement<HostSdk::Entry::MenuRegistration>(
		[this](const HostSdk::MenuRegistrationRecord* record) { return Register(record); });
	table.Implement<HostSdk::Entry::MenuHandlerInstallation>(
		[this](ModuleToken token, std::int16_t listId, HostSdk::MenuCommandHandler handler) {
			return InstallHandler(token, listId, handler);
		});
	table.ImplementSelector(HostSdk::Entry::Interface, HostSdk::Selectors::GetMenuItemFlags,
		[this](ModuleToken token, void* first, void* second) { return GetFlags(token, first, second); });
	table.ImplementSelector(HostSdk::Entry::Interface, HostSdk::Selectors::SetMenuItemFlags,
		[this](ModuleToken token, void* first, void* second) { return SetFlags(token, first, second); });
}

HostStatus MenuBar::Register(const HostSdk::MenuRegistrationRecord* record)
{
	// The one call without a token: it belongs to the add-on the host is calling into.
	AddOn* owner = addOns.InCall();
	if (owner == nullptr)
		return HostSdk::StatusRefused;
	if (record == nullptr)
		return HostSdk::StatusBadParameter;
	const auto listId = static_cast<std::int16_t>(record->menuStringListId);
	if (record->menuStringListId > 0x7FFF) {
		transcript.Add(TranscriptKind::Error,
			owner->Name() + ": menu string list " + std::to_string(record->menuStringListId) + " is out of range");
		return HostSdk::StatusBadParameter;
	}
	if (Find(*owner, listId, 1) != nullptr)
		return HostSdk::StatusRefused;
	const std::vector<std::string> texts = readStrings(*owner, record->menuStringListId);
	if (texts.empty()) {
		transcript.Add(TranscriptKind::Error,
			owner->Name() + ": menu string list " + std::to_string(record->menuStringListId) + " is missing");
		return HostSdk::StatusBadParameter;
	}
	const std::vector<std::string> prompts = readStrings(*owner, record->promptStringListId);
	for (std::size_t index = 0; index < texts.size() && index < 0x7FFF; ++index) {
		MenuItem item;
		item.owner = owner;
		item.menuStringListId = listId;
		item.itemIndex = static_cast<std::int16_t>(index + 1);
		item.promptStringListId = record->promptStringListId;
		item.placement = record->placement;
		item.registrationFlags = record->flags;
		item.resourceText = texts[index];
		item.text = ShownText(texts[index]);
		item.prompt = index < prompts.size() ? prompts[index] : std::string();
		items.push_back(item);
		transcript.Add(TranscriptKind::Detail,
			owner->Name() + " registered menu item " + Quoted(item.resourceText) + " (string list " +
				std::to_string(listId) + ", item " + std::to_string(item.itemIndex) + ", placement " +
				std::to_string(item.placement) + ")");
	}
	return 0;
}

HostStatus MenuBar::InstallHandler(
	ModuleToken token, std::int16_t menuStringListId, HostSdk::MenuCommandHandler handler)
{
	AddOn* owner = addOns.FromToken(token);
	if (owner == nullptr)
		return HostSdk::StatusRefused;
	if (handler == nullptr)
		handlers.erase({owner, menuStringListId});
	else
		handlers[{owner, menuStringListId}] = handler;
	return 0;
}

HostStatus MenuBar::FlagsItem(ModuleToken token, const void* first, const void* second, MenuItem*& item)
{
	const AddOn* owner = addOns.FromToken(token);
	if (owner == nullptr)
		return HostSdk::StatusRefused;
	if (first == nullptr || second == nullptr)
		return HostSdk::StatusBadParameter;
	const auto* reference = static_cast<const HostSdk::MenuItemRef*>(first);
	item = FindMutable(*owner, reference->menuStringListId, reference->itemIndex);
	return item == nullptr ? HostSdk::StatusBadIndex : 0;
}

HostStatus MenuBar::GetFlags(ModuleToken token, void* first, void* second)
{
	MenuItem* item = nullptr;
	if (const HostStatus status = FlagsItem(token, first, second, item); status != 0)
		return status;
	*static_cast<std::uint32_t*>(second) = item->flags;
	return 0;
}

HostStatus MenuBar::SetFlags(ModuleToken token, void* first, void* second)
{
	MenuItem* item = nullptr;
	if (const HostStatus status = FlagsItem(token, first, second, item); status != 0)
		return status;
	const bool wasChecked = item->Checked();
	item->flags = *static_cast<const std::uint32_t*>(second);
	// The person sees the menu change only through its check mark.
	if (item->Checked() != wasChecked)
		transcript.Add(TranscriptKind::Menu, Line(*item));
	return 0;
}

const MenuItem* MenuBar::Find(std::string_view text) const
{
	for (const MenuItem& item : items)
		if (item.text == text)
			return &item;
	const MenuItem* match = nullptr;
	for (const MenuItem& item : items) {
		if (SameIgnoringCase(item.text, text)) {
			if (match != nullptr)
				return nullptr;
			match = &item;
		}
	}
	return match;
}

const MenuItem* MenuBar::Find(const AddOn& owner, std::int16_t menuStringListId, std::int16_t itemIndex) const
{
	for (const MenuItem& item : items)
		if (item.owner == &owner && item.menuStringListId == menuStringListId && item.itemIndex == itemIndex)
			return &item;
	return nullptr;
}

MenuItem* MenuBar::FindMutable(const AddOn& owner, std::int16_t menuStringListId, std::int16_t itemIndex)
{
	return const_cast<MenuItem*>(std::as_const(*this).Find(owner, menuStringListId, itemIndex));
}

std::vector<const MenuItem*> MenuBar::ItemsOf(const AddOn& owner) const
{
	std::vector<const MenuItem*> owned;
	for (const MenuItem& item : items)
		if (item.owner == &owner)
			owned.push_back(&item);
	return owned;
}

HostSdk::MenuCommandHandler MenuBar::HandlerOf(const AddOn& owner, std::int16_t menuStringListId) const
{
	const auto found = handlers.find({&owner, menuStringListId});
	return found == handlers.end() ? nullptr : found->second;
}

MenuChoice MenuBar::Choose(const MenuItem& item)
{
	// The handler may change the menus; keep what the call needs.
	AddOn* owner = addOns.FromToken(item.owner->Token());
	if (owner == nullptr)
		return {};
	HostSdk::MenuParams params {};
	params.menuStringListId = item.menuStringListId;
	params.itemIndex = item.itemIndex;
	return SendParams(*owner, item.menuStringListId, params);
}

MenuChoice MenuBar::SendParams(AddOn& owner, std::int16_t handlerStringListId, const HostSdk::MenuParams& params)
{
	const HostSdk::MenuCommandHandler handler = HandlerOf(owner, handlerStringListId);
	if (handler == nullptr)
		return {};
	const HostSdk::MenuParams copy = params;
	const HostStatus status = owner.Call(handler, &copy);
	transcript.Add(TranscriptKind::Detail,
		owner.Name() + " menu handler (string list " + std::to_string(params.menuStringListId) + ", item " +
			std::to_string(params.itemIndex) + ") answered " + StatusText(status));
	return {true, status};
}

void MenuBar::Show()
{
	for (const MenuItem& item : items)
		transcript.Add(TranscriptKind::Menu, Line(item));
}

std::string MenuBar::Line(const MenuItem& item)
{
	return (item.Checked() ? "[x] " : "[ ] ") + item.text;
}

std::string MenuBar::ShownText(std::string_view resourceText)
{
	return std::string(resourceText.substr(0, resourceText.find('^')));
}

void MenuBar::Forget(const AddOn& addOn)
{
	std::erase_if(items, [&](const MenuItem& item) { return item.owner == &addOn; });
	std::erase_if(handlers, [&](const auto& entry) { return entry.first.first == &addOn; });
}

} // namespace ReferenceHost
