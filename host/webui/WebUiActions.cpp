// The page's actions on the host and on the dialog library's windows.
#include "WebUiActions.hpp"

#include "DG/Keys.hpp"
#include "DG/Panel.hpp"
#include "DG/User.hpp"
#include "UD/RollDownSurface.hpp"

#include <limits>

namespace ReferenceHost {

namespace {

using nlohmann::json;

// A whole number field of the action, within the range of T; false when missing or outside.
template <class T>
bool Number(const json& action, const char* name, T& value)
{
	const auto found = action.find(name);
	if (found == action.end() || !found->is_number_integer())
		return false;
	const auto number = found->get<std::int64_t>();
	if (number < std::numeric_limits<T>::min() || number > std::numeric_limits<T>::max())
		return false;
	value = static_cast<T>(number);
	return true;
}

std::string Text(const json& action, const char* name)
{
	const auto found = action.find(name);
	return found != action.end() && found->is_string() ? found->get<std::string>() : std::string();
}

Outcome FromResult(const DG::ActionResult& result)
{
	return result ? Outcome::Success() : Outcome::Failure(result.GetProblem());
}

unsigned Modifiers(const json& action)
{
	unsigned modifiers = DG::Modifier::None;
	const auto found = action.find("modifiers");
	if (found == action.end() || !found->is_array())
		return modifiers;
	for (const json& name : *found) {
		if (name == "command")
			modifiers |= DG::Modifier::Command;
		else if (name == "shift")
			modifiers |= DG::Modifier::Shift;
		else if (name == "option")
			modifiers |= DG::Modifier::Option;
	}
	return modifiers;
}

// The dialog a panel belongs to: itself, or for a tab page the dialog holding its control.
const DG::Panel* OwningDialog(const DG::Panel& panel)
{
	if (panel.GetKind() != DG::PanelKind::TabPage)
		return &panel;
	const DG::Dialog* parent = static_cast<const DG::TabPage&>(panel).GetParentDialog();
	return parent != nullptr ? OwningDialog(*parent) : nullptr;
}

// A click on a roll panel's title bar: the panel is named by the tab control holding its page.
Outcome Roll(DG::Panel& dialog, const json& action)
{
	short item = 0;
	UD::RollDownSurface* surface = UD::FindRollDownSurface(dialog);
	if (surface == nullptr || !Number(action, "item", item))
		return Outcome::Failure("the window has no roll panel there");
	for (UD::RollDownPanel* panel : surface->ShownPanels())
		if (panel->GetTabControl().GetIndex() == item)
			return FromResult(UD::UserRoll(*panel, action.value("down", !panel->IsRolledDown())));
	return Outcome::Failure("the window has no roll panel there");
}

Outcome OnPanel(const json& action, const std::string& verb, const ActionGate& gate)
{
	short panelId = 0;
	if (!Number(action, "panel", panelId))
		return Outcome::Failure("the action names no window");
	DG::Panel* panel = DG::FindPanel(panelId);
	if (panel == nullptr)
		return Outcome::Failure("window " + std::to_string(panelId) + " no longer exists");
	if (gate.modalDialogId != 0) {
		const DG::Panel* dialog = OwningDialog(*panel);
		if (dialog == nullptr || dialog->GetId() != gate.modalDialogId)
			return Outcome::Failure("a dialog is open: answer it first");
	}
	DG::User person(*panel);
	short item = 0;
	if (verb == "roll")
		return Roll(*panel, action);
	if (verb == "close-box")
		return FromResult(person.PressCloseBox());
	if (verb == "resize") {
		short width = 0;
		short height = 0;
		if (!Number(action, "width", width) || !Number(action, "height", height))
			return Outcome::Failure("a resize needs a width and a height");
		return FromResult(person.Resize(width, height));
	}
	if (!Number(action, "item", item))
		return Outcome::Failure("the action names no item");
	if (verb == "click")
		return FromResult(person.Click(item));
	if (verb == "type")
		return FromResult(person.Type(item, Text(action, "text")));
	if (verb == "choose") {
		short choice = 0;
		if (!Number(action, "choice", choice))
			return Outcome::Failure("the choice is no pop-up item number");
		return FromResult(person.ChoosePopUpItem(item, choice));
	}
	if (verb == "user-control") {
		std::int32_t value = 0;
		if (!Number(action, "value", value))
			return Outcome::Failure("the value is no whole number");
		return FromResult(person.ChangeUserControl(item, value));
	}
	short row = 0;
	short x = 0;
	if (!Number(action, "row", row))
		return Outcome::Failure("the action names no list row");
	Number(action, "x", x);
	if (verb == "list-click")
		return FromResult(person.ClickListItem(item, row, x, Modifiers(action)));
	if (verb == "list-double-click")
		return FromResult(person.DoubleClickListItem(item, row, x, Modifiers(action)));
	if (verb == "list-context-menu")
		return FromResult(person.RequestListContextMenu(item, row, x));
	return Outcome::Failure("\"" + verb + "\" is no action of the page");
}

} // namespace

Outcome PerformPageAction(Host& host, const json& action, const ActionGate& gate)
{
	if (!action.is_object())
		return Outcome::Failure("the action is not an object");
	const std::string verb = Text(action, "do");
	const bool hostAction = verb == "menu" || verb == "new" || verb == "open" || verb == "save" || verb == "save-as" ||
		verb == "close" || verb == "quit";
	if (hostAction && gate.modalDialogId != 0)
		return Outcome::Failure("a dialog is open: answer it first");
	if (verb == "menu")
		return host.ChooseMenuItem(Text(action, "text"));
	if (verb == "new")
		return host.NewProject();
	if (verb == "open")
		return host.OpenProject(Text(action, "file"));
	if (verb == "save")
		return host.SaveProject();
	if (verb == "save-as")
		return host.SaveProjectAs(Text(action, "file"));
	if (verb == "close")
		return host.CloseProject();
	if (verb == "quit") {
		host.Quit();
		return Outcome::Success();
	}
	if (verb == "stop")
		return Outcome::Failure("no command is running");
	return OnPanel(action, verb, gate);
}

std::string DescribePageAction(const json& action)
{
	if (!action.is_object())
		return "(not an action)";
	std::string text = Text(action, "do");
	for (const char* name : {"text", "file"})
		if (action.contains(name) && action[name].is_string())
			text += " \"" + action[name].get<std::string>() + "\"";
	for (const char* name : {"panel", "item", "row", "choice", "value", "width", "height"})
		if (action.contains(name) && action[name].is_number_integer())
			text += std::string(" ") + name + " " + std::to_string(action[name].get<std::int64_t>());
	return text;
}

} // namespace ReferenceHost
