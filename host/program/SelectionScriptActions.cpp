// Showing and checking the selection and the view, as script lines.
#include "SelectionScriptActions.hpp"

#include "ElementTypeTable.hpp"
#include "Project.hpp"
#include "Script.hpp"

#include <algorithm>

namespace ReferenceHost {

namespace {

std::string WindowKindName(std::int32_t kind)
{
	switch (kind) {
	case 1: return "floor plan";
	case 4: return "3D view";
	default: return "window kind " + std::to_string(kind);
	}
}

std::string ItemText(const Project& project, const ElementId& id)
{
	std::string text = ElementIdText(id);
	const Element* element = project.FindElement(id);
	if (element == nullptr)
		return text + " (gone)";
	if (const LibraryPart* part = project.PartOf(*element))
		text += " \"" + part->name + "\"";
	return text;
}

std::vector<ElementId> Sorted(std::vector<ElementId> ids)
{
	std::sort(ids.begin(), ids.end());
	return ids;
}

std::string Listed(const Project& project, const std::vector<ElementId>& ids)
{
	if (ids.empty())
		return "nothing";
	std::string text;
	for (const ElementId& id : ids)
		text += (text.empty() ? "" : ", ") + ItemText(project, id);
	return text;
}

Outcome ShowSelection(ScriptContext& context)
{
	const Project* project = context.host.CurrentProject();
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	const Selection& selection = project->CurrentSelection();
	const Stories& stories = project->StoryList();
	Transcript& transcript = context.host.SessionTranscript();
	transcript.Add(TranscriptKind::Notice,
		"Selected (kind " + std::to_string(selection.kind) + "): " + Listed(*project, Sorted(selection.items)));
	const std::string storyName = stories.NameOf(stories.active);
	transcript.Add(TranscriptKind::Notice,
		"Current story " + std::to_string(stories.active) + (storyName.empty() ? "" : " \"" + storyName + "\"") + ", " +
			WindowKindName(project->WindowKind()) + " (kind " + std::to_string(project->WindowKind()) + ")");
	return Outcome::Success();
}

Outcome ExpectSelection(ScriptContext& context, const std::vector<std::string>& arguments)
{
	const Project* project = context.host.CurrentProject();
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	std::vector<ElementId> expected;
	for (const std::string& argument : arguments)
		expected.push_back(*ParseElementId(argument));
	expected = Sorted(expected);
	expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
	const std::vector<ElementId> found = Sorted(project->CurrentSelection().items);
	if (found == expected)
		return Outcome::Success();
	return Outcome::Failure("expected selected " + Listed(*project, expected) + "; found " + Listed(*project, found));
}

} // namespace

std::vector<ScriptActionDefinition> SelectionScriptActions()
{
	return {
		{"show-selection", 0, 0, "show-selection",
			"show the selected elements (type:index and library part), the current story and window", nullptr,
			[](ScriptContext& context, const std::vector<std::string>&) { return ShowSelection(context); }},
		{"expect-selection", 0, AnyNumber, "expect-selection ELEMENT...",
			"check that exactly these elements are selected (none: nothing selected)",
			[](const std::vector<std::string>& arguments) {
				for (const std::string& argument : arguments)
					if (!ParseElementId(argument))
						return "\"" + argument + "\" does not name an element (write type, colon, index: Door:2)";
				return std::string();
			},
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return ExpectSelection(context, arguments);
			}},
	};
}

} // namespace ReferenceHost
