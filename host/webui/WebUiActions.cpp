// The page's actions on the host and on the dialog library's windows.
#include "WebUiActions.hpp"

#include "ElementTypeTable.hpp"

#include "DG/Keys.hpp"
#include "DG/Panel.hpp"
#include "DG/User.hpp"
#include "UD/RollDownSurface.hpp"

#include <algorithm>
#include <limits>
#include <vector>

namespace ReferenceHost {

namespace {

using nlohmann::json;

// A whole number field of the action, within the range of T; false when missing or outside. A
// number beyond the signed 64-bit range is outside too, not wrapped to a negative one.
template <class T>
bool Number(const json& action, const char* name, T& value)
{
	const auto found = action.find(name);
	if (found == action.end() || !found->is_number_integer())
		return false;
	if (found->is_number_unsigned()) {
		const auto number = found->get<std::uint64_t>();
		if (number > static_cast<std::uint64_t>(std::numeric_limits<T>::max()))
			return false;
		value = static_cast<T>(number);
		return true;
	}
	const auto number = found->get<std::int64_t>();
	if (number < std::numeric_limits<T>::min() || number > std::numeric_limits<T>::max())
		return false;
	value = static_cast<T>(number);
	return true;
}

// What a field of an action holds.
enum class FieldKind { Short, Whole, Flag, Text, Keys };

struct FieldRule {
	const char* name;
	FieldKind kind;
	bool required;
};

struct ActionRule {
	const char* verb;
	std::vector<FieldRule> fields;
};

const std::vector<ActionRule>& ActionRules()
{
	using enum FieldKind;
	static const std::vector<ActionRule> rules = {
		{"menu", {{"text", Text, true}}},
		{"new", {}},
		{"open", {{"file", Text, true}}},
		{"save", {}},
		{"save-as", {{"file", Text, true}, {"replace", Flag, false}}},
		{"export-ifc", {{"file", Text, true}, {"replace", Flag, false}}},
		{"close", {}},
		{"select-element", {{"element", Text, true}}},
		{"quit", {}},
		{"stop", {}},
		{"roll", {{"panel", Short, true}, {"item", Short, true}, {"down", Flag, false}}},
		{"close-box", {{"panel", Short, true}}},
		{"resize", {{"panel", Short, true}, {"width", Short, true}, {"height", Short, true}}},
		{"click", {{"panel", Short, true}, {"item", Short, true}}},
		{"type", {{"panel", Short, true}, {"item", Short, true}, {"text", Text, true}}},
		{"choose", {{"panel", Short, true}, {"item", Short, true}, {"choice", Short, true}}},
		{"user-control", {{"panel", Short, true}, {"item", Short, true}, {"value", Whole, true}}},
		{"list-click",
			{{"panel", Short, true}, {"item", Short, true}, {"row", Short, true}, {"x", Short, false},
				{"modifiers", Keys, false}}},
		{"list-double-click",
			{{"panel", Short, true}, {"item", Short, true}, {"row", Short, true}, {"x", Short, false},
				{"modifiers", Keys, false}}},
		{"list-context-menu",
			{{"panel", Short, true}, {"item", Short, true}, {"row", Short, true}, {"x", Short, false}}},
	};
	return rules;
}

bool IsModifierName(const json& name)
{
	return name == "command" || name == "shift" || name == "option";
}

// Why the field's value does not fit its kind; empty when it fits.
std::string FieldProblem(const json& action, const FieldRule& field)
{
	const auto found = action.find(field.name);
	const std::string named = std::string("\"") + field.name + "\"";
	if (found == action.end())
		return field.required ? named + " is missing" : std::string();
	switch (field.kind) {
	case FieldKind::Short: {
		short number = 0;
		return Number(action, field.name, number) ? std::string()
												  : named + " must be a whole number from -32768 to 32767";
	}
	case FieldKind::Whole: {
		std::int32_t number = 0;
		return Number(action, field.name, number) ? std::string() : named + " must be a 32-bit whole number";
	}
	case FieldKind::Flag: return found->is_boolean() ? std::string() : named + " must be true or false";
	case FieldKind::Text: return found->is_string() ? std::string() : named + " must be a text";
	case FieldKind::Keys:
		if (found->is_array() && std::all_of(found->begin(), found->end(), IsModifierName))
			return {};
		return named + " must be a list of \"command\", \"shift\" and \"option\"";
	}
	return named + " is of no known kind";
}

std::string Text(const json& action, const char* name)
{
	const auto found = action.find(name);
	return found != action.end() && found->is_string() ? found->get<std::string>() : std::string();
}

bool Flag(const json& action, const char* name, bool otherwise)
{
	const auto found = action.find(name);
	return found != action.end() && found->is_boolean() ? found->get<bool>() : otherwise;
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
			return FromResult(UD::UserRoll(*panel, Flag(action, "down", !panel->IsRolledDown())));
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

// A Ctrl+click in the 3D view: the element alone is selected, as a script's select does.
Outcome SelectElement(Host& host, const std::string& text)
{
	Project* project = host.CurrentProject();
	const std::optional<ElementId> id = ParseElementId(text);
	const Element* element = project != nullptr && id ? project->FindElement(*id) : nullptr;
	if (element == nullptr || element->deleted)
		return Outcome::Failure("the project has no element " + text);
	if (!SelectionItemCodeOf(element->type))
		return Outcome::Failure("elements of the type " + std::string(ElementTypeNameOf(element->type)) +
			" cannot be selected");
	Selection& selection = project->CurrentSelection();
	selection.kind = 1;
	selection.marqueeAllStories = 0;
	selection.items = {*id};
	host.SessionTranscript().Add(TranscriptKind::Notice, "Selected: " + ElementIdText(*id));
	return Outcome::Success();
}

} // namespace

std::string CheckPageAction(const json& action)
{
	if (!action.is_object() || !action.contains("do") || !action["do"].is_string())
		return "an action is an object with a \"do\" text";
	const std::string verb = Text(action, "do");
	const auto rule = std::find_if(
		ActionRules().begin(), ActionRules().end(), [&](const ActionRule& known) { return verb == known.verb; });
	if (rule == ActionRules().end())
		return "\"" + verb + "\" is no action of the page";
	for (const FieldRule& field : rule->fields)
		if (std::string problem = FieldProblem(action, field); !problem.empty())
			return problem;
	return {};
}

Outcome PerformPageAction(Host& host, const json& action, const ActionGate& gate)
{
	if (const std::string problem = CheckPageAction(action); !problem.empty())
		return Outcome::Failure(problem);
	const std::string verb = Text(action, "do");
	const bool hostAction = verb == "menu" || verb == "new" || verb == "open" || verb == "save" || verb == "save-as" ||
		verb == "export-ifc" || verb == "close" || verb == "quit" || verb == "select-element";
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
		return host.SaveProjectAs(Text(action, "file"), Flag(action, "replace", false));
	if (verb == "export-ifc")
		return host.ExportLighterIfc(Text(action, "file"), Flag(action, "replace", false));
	if (verb == "close")
		return host.CloseProject();
	if (verb == "select-element")
		return SelectElement(host, Text(action, "element"));
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
	for (const char* name : {"text", "file", "element"})
		if (action.contains(name))
			text += " " + action[name].dump(-1, ' ', false, json::error_handler_t::replace);
	// Whatever was sent, so a refused value shows as it came.
	for (const char* name : {"panel", "item", "row", "x", "choice", "value", "width", "height", "down", "replace"})
		if (action.contains(name))
			text += std::string(" ") + name + " " + action[name].dump(-1, ' ', false, json::error_handler_t::replace);
	return text;
}

} // namespace ReferenceHost
