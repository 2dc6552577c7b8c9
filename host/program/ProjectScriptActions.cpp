// A person's actions in the project, as script lines. Elements are named as in project
// files: type name or number, a colon, the index ("Door:2", "\"Camera set:1\""). Edits of the
// project (filter states, parameters) raise the project-changed event as any edit does;
// selecting and looking at another story or window do not.
#include "ProjectScriptActions.hpp"

#include "HostText.hpp"

#include <algorithm>

namespace ReferenceHost {

namespace {

// ---- Checks of arguments -------------------------------------------------------------------

std::string CheckElementText(const std::string& text)
{
	return ParseElementId(text) ? std::string()
								: Quoted(text) + " does not name an element (write type, colon, index: Door:2)";
}

// Every argument from the first'th on names an element.
auto ElementsFrom(std::size_t first)
{
	return [first](const std::vector<std::string>& arguments) {
		for (std::size_t i = first; i < arguments.size(); ++i)
			if (std::string problem = CheckElementText(arguments[i]); !problem.empty())
				return problem;
		return std::string();
	};
}

auto ElementAt(std::size_t position)
{
	return [position](const std::vector<std::string>& arguments) { return CheckElementText(arguments[position]); };
}

auto IntegerAt(std::size_t position, std::int64_t minimum, std::int64_t maximum)
{
	return [=](const std::vector<std::string>& arguments) {
		const std::optional<std::int64_t> value = ParseWhole<std::int64_t>(arguments[position]);
		if (!value || *value < minimum || *value > maximum)
			return Quoted(arguments[position]) + " is not a whole number from " + std::to_string(minimum) + " to " +
				std::to_string(maximum);
		return std::string();
	};
}

auto OneOf(std::size_t position, std::vector<std::string> words)
{
	return [position, words = std::move(words)](const std::vector<std::string>& arguments) {
		std::string list;
		for (const std::string& word : words) {
			if (arguments[position] == word)
				return std::string();
			list += (list.empty() ? "" : ", ") + word;
		}
		return Quoted(arguments[position]) + " is not one of " + list;
	};
}

template <typename... Checks>
auto All(Checks... checks)
{
	return [=](const std::vector<std::string>& arguments) {
		std::string problem;
		((problem.empty() ? (problem = checks(arguments), 0) : 0), ...);
		return problem;
	};
}

// ---- Running ---------------------------------------------------------------------------------

// A whole number the argument check has let through.
std::int64_t IntegerOf(const std::string& text)
{
	return ParseWhole<std::int64_t>(text).value_or(0);
}

// The open project and the live element the text names; a failure says what is missing.
Outcome FindElement(ScriptContext& context, const std::string& text, Element*& element)
{
	Project* project = context.host.CurrentProject();
	// The host starts with a new, empty project: a person naming elements there meant to open one.
	if (project == nullptr || (project->File().empty() && project->TotalElementCount() == 0))
		return Outcome::Failure("No project is open to hold " + Quoted(text) +
			": open one first (\"open FILE\" in a script, or the project file after the options)");
	element = project->FindElement(*ParseElementId(text));
	if (element == nullptr || element->deleted)
		return Outcome::Failure("The project has no element " + Quoted(text));
	return Outcome::Success();
}

Outcome SelectElements(ScriptContext& context, std::int32_t kind, std::uint8_t allStories,
	const std::vector<std::string>& arguments, std::size_t first)
{
	std::vector<ElementId> items;
	for (std::size_t i = first; i < arguments.size(); ++i) {
		Element* element = nullptr;
		if (Outcome found = FindElement(context, arguments[i], element); !found)
			return found;
		if (!SelectionItemCodeOf(element->type))
			return Outcome::Failure(
				"Elements of the type " + Quoted(ElementTypeNameOf(element->type)) + " cannot be selected");
		if (std::find(items.begin(), items.end(), element->Id()) == items.end())
			items.push_back(element->Id());
	}
	Project* project = context.host.CurrentProject();
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	Selection& selection = project->CurrentSelection();
	selection.kind = items.empty() && kind == 1 ? 0 : kind;
	selection.marqueeAllStories = allStories;
	selection.items = std::move(items);
	std::string text = selection.kind == 0 ? "Nothing is selected" : "Selected:";
	for (const ElementId& id : selection.items)
		text += " " + ElementIdText(id);
	if (selection.kind >= 2)
		text += std::string(" (marquee on ") + (allStories != 0 ? "all stories" : "the active story") + ")";
	context.host.SessionTranscript().Add(TranscriptKind::Notice, text);
	return Outcome::Success();
}

Outcome SetFilter(ScriptContext& context, const std::vector<std::string>& arguments)
{
	Element* element = nullptr;
	if (Outcome found = FindElement(context, arguments[0], element); !found)
		return found;
	const std::string& state = arguments[1];
	if (state == "visible" || state == "hidden")
		element->visible = state == "visible";
	else
		element->editable = state == "editable";
	context.host.SessionTranscript().Add(TranscriptKind::Notice, ElementIdText(element->Id()) + " is now " + state);
	return context.host.ChangeProject();
}

Outcome SetParameter(ScriptContext& context, const std::vector<std::string>& arguments)
{
	Element* element = nullptr;
	if (Outcome found = FindElement(context, arguments[0], element); !found)
		return found;
	std::string problem;
	if (!context.host.CurrentProject()->SetElementParameter(element->Id(), arguments[1], arguments[2], problem))
		return Outcome::Failure("Cannot set the parameter: " + problem);
	context.host.SessionTranscript().Add(
		TranscriptKind::Notice, ElementIdText(element->Id()) + ": " + arguments[1] + " = " + arguments[2]);
	return context.host.ChangeProject();
}

Outcome GoToStory(ScriptContext& context, const std::vector<std::string>& arguments)
{
	Project* project = context.host.CurrentProject();
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	Stories& stories = project->StoryList();
	const std::int64_t story = IntegerOf(arguments[0]);
	if (!stories.Contains(static_cast<std::int32_t>(story)))
		return Outcome::Failure("The project has no story " + arguments[0] + " (its stories run from " +
			std::to_string(stories.first) + " to " + std::to_string(stories.last) + ")");
	stories.active = static_cast<std::int16_t>(story);
	context.host.SessionTranscript().Add(TranscriptKind::Notice, "The current story is story " + arguments[0]);
	return Outcome::Success();
}

Outcome GoToWindow(ScriptContext& context, const std::vector<std::string>& arguments)
{
	Project* project = context.host.CurrentProject();
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	project->SetWindowKind(static_cast<std::int32_t>(IntegerOf(arguments[0])));
	context.host.SessionTranscript().Add(TranscriptKind::Notice, "The current window is of kind " + arguments[0]);
	return Outcome::Success();
}

const std::vector<std::pair<std::string, bool AnswerDamage::*>>& DamageSwitches()
{
	static const std::vector<std::pair<std::string, bool AnswerDamage::*>> switches = {
		{"value-list-count-too-large", &AnswerDamage::valueListCountTooLarge},
		{"group-data-too-short", &AnswerDamage::groupDataTooShort},
		{"parameter-handle-ragged", &AnswerDamage::parameterHandleRagged},
		{"texts-unterminated", &AnswerDamage::textsUnterminated},
		{"parameter-names-overlong", &AnswerDamage::parameterNamesOverlong},
	};
	return switches;
}

std::vector<std::string> DamageNames()
{
	std::vector<std::string> names;
	for (const auto& [name, flag] : DamageSwitches())
		names.push_back(name);
	return names;
}

Outcome SetDamage(ScriptContext& context, const std::vector<std::string>& arguments)
{
	Project* project = context.host.CurrentProject();
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	for (const auto& [name, flag] : DamageSwitches())
		if (name == arguments[0])
			project->Damage().*flag = arguments[1] == "on";
	context.host.SessionTranscript().Add(
		TranscriptKind::Detail, "damaged answers: " + arguments[0] + " " + arguments[1]);
	return Outcome::Success();
}

std::string ElementDescription(const Project& project, const Element& element)
{
	std::string text = ElementIdText(element.Id()) + ": story " + std::to_string(element.story);
	if (element.type >= HostSdk::ElementTypes::Window && element.type <= HostSdk::ElementTypes::Lamp) {
		const LibraryPart* part = project.FindLibraryPart(element.libPartIndex);
		text += ", library part " + std::to_string(element.libPartIndex) +
			(part == nullptr ? " (not in the project)"
							 : " " + Quoted(part->name) + (part->missing ? " (missing)" : ""));
	}
	if (element.groupIndex != 0)
		text += ", in group " + std::to_string(element.groupIndex);
	if (!element.visible)
		text += ", hidden";
	if (!element.editable)
		text += ", locked";
	for (const Parameter& parameter : element.parameters)
		text += ", " + parameter.name + " = " + parameter.ValueText();
	const ComponentRange range = project.ComponentsOf(element);
	const auto components = static_cast<std::uint64_t>(std::max(0, range.last - range.first + 1));
	const auto polygons = static_cast<std::uint64_t>(std::max<std::int64_t>(0, project.PolygonsOf(element)));
	text += ", " + Counted(components, "component") + ", " + Counted(polygons, "polygon");
	return text;
}

Outcome ExpectNumber(std::string_view what, std::int64_t expected, std::int64_t actual)
{
	if (expected == actual)
		return Outcome::Success();
	return Outcome::Failure(
		"expected " + std::string(what) + " " + std::to_string(expected) + ", found " + std::to_string(actual));
}

} // namespace

std::vector<ScriptActionDefinition> ProjectScriptActions()
{
	return {
		{"select", 1, AnyNumber, "select ELEMENT...", "select these elements, and only these (Door:2 names a door)",
			ElementsFrom(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return SelectElements(context, 1, 0, arguments, 0);
			}},
		{"select-none", 0, 0, "select-none", "select nothing", nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return SelectElements(context, 0, 0, arguments, 0);
			}},
		{"marquee", 1, AnyNumber, "marquee active-story|all-stories ELEMENT...",
			"draw a marquee around these elements, acting on the active story or on all stories",
			All(OneOf(0, {"active-story", "all-stories"}), ElementsFrom(1)),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return SelectElements(context, 2, arguments[0] == "all-stories" ? 1 : 0, arguments, 1);
			}},
		{"filter", 2, 2, "filter ELEMENT visible|hidden|editable|locked",
			"show or hide an element in the model (filter bit 2), unlock or lock it (filter bit 16)",
			All(ElementAt(0), OneOf(1, {"visible", "hidden", "editable", "locked"})),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return SetFilter(context, arguments);
			}},
		{"set-parameter", 3, 3, "set-parameter ELEMENT NAME VALUE",
			"set a parameter of a placed library part by hand (array values separated by |)", ElementAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return SetParameter(context, arguments);
			}},
		{"story", 1, 1, "story INDEX", "go to the story with this index", IntegerAt(0, -32768, 32767),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return GoToStory(context, arguments);
			}},
		{"window", 1, 1, "window KIND", "bring a window of this kind to the front (1 floor plan, 4 3D view)",
			IntegerAt(0, 1, std::numeric_limits<std::int32_t>::max()),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return GoToWindow(context, arguments);
			}},
		{"damage", 2, 2, "damage NAME on|off",
			"make the host's answers careless, for tests (value-list-count-too-large, group-data-too-short, "
			"parameter-handle-ragged, texts-unterminated, parameter-names-overlong)",
			All(OneOf(0, DamageNames()), OneOf(1, {"on", "off"})),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return SetDamage(context, arguments);
			}},
		{"show", 1, 1, "show ELEMENT", "show an element: story, library part, parameters, polygons", ElementAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				Element* element = nullptr;
				if (Outcome found = FindElement(context, arguments[0], element); !found)
					return found;
				context.host.SessionTranscript().Add(
					TranscriptKind::Notice, ElementDescription(*context.host.CurrentProject(), *element));
				return Outcome::Success();
			}},
		{"expect-parameter", 3, 3, "expect-parameter ELEMENT NAME VALUE",
			"check the value of a placed library part's parameter", ElementAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				Element* element = nullptr;
				if (Outcome found = FindElement(context, arguments[0], element); !found)
					return found;
				const Parameter* parameter = FindParameter(element->parameters, arguments[1]);
				if (parameter == nullptr)
					return Outcome::Failure(arguments[0] + " has no parameter " + Quoted(arguments[1]));
				if (parameter->ValueText() != arguments[2])
					return Outcome::Failure("expected " + arguments[0] + " " + arguments[1] + " = " +
						Quoted(arguments[2]) + ", found " + Quoted(parameter->ValueText()));
				return Outcome::Success();
			}},
		{"expect-polygons", 2, 2, "expect-polygons ELEMENT N", "check the polygons of an element's current 3D model",
			All(ElementAt(0), IntegerAt(1, 0, std::numeric_limits<std::int64_t>::max())),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				Element* element = nullptr;
				if (Outcome found = FindElement(context, arguments[0], element); !found)
					return found;
				return ExpectNumber(arguments[0] + " to have polygons", IntegerOf(arguments[1]),
					context.host.CurrentProject()->PolygonsOf(*element));
			}},
		{"expect-selected", 1, 1, "expect-selected N", "check how many elements are selected",
			IntegerAt(0, 0, std::numeric_limits<std::int32_t>::max()),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				const Project* project = context.host.CurrentProject();
				if (project == nullptr)
					return Outcome::Failure("No project is open");
				return ExpectNumber("selected elements", IntegerOf(arguments[0]),
					static_cast<std::int64_t>(project->CurrentSelection().items.size()));
			}},
		{"expect-story", 1, 1, "expect-story INDEX", "check the current story", IntegerAt(0, -32768, 32767),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				const Project* project = context.host.CurrentProject();
				if (project == nullptr)
					return Outcome::Failure("No project is open");
				return ExpectNumber("the current story", IntegerOf(arguments[0]), project->StoryList().active);
			}},
		{"expect-window", 1, 1, "expect-window KIND", "check the kind of the current window",
			IntegerAt(0, 1, std::numeric_limits<std::int32_t>::max()),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				const Project* project = context.host.CurrentProject();
				if (project == nullptr)
					return Outcome::Failure("No project is open");
				return ExpectNumber("a current window of kind", IntegerOf(arguments[0]), project->WindowKind());
			}},
	};
}

} // namespace ReferenceHost
