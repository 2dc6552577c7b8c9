// The actions a script can take: what a person does at the host (menus, project, palettes,
// quit), and checks of what the person would see, which fail the script when the host or an
// add-on does not behave (so a script can serve as an end-to-end test). New actions are new
// entries of the list below.
#include "AddOnScriptActions.hpp"
#include "HostText.hpp"
#include "PaletteListScriptActions.hpp"
#include "PaletteScriptActions.hpp"
#include "ProjectScriptActions.hpp"
#include "RegionalSettings.hpp"
#include "Script.hpp"
#include "SelectionScriptActions.hpp"

#include "VX/Memory.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace ReferenceHost {

namespace {

// An event code: any 32-bit value, written signed or as its unsigned bit pattern.
bool ParseEventCode(std::string_view text, std::int32_t& code)
{
	const std::optional<std::int64_t> value = ParseWholeNumber(text);
	if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
		*value > std::numeric_limits<std::uint32_t>::max())
		return false;
	code = static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
	return true;
}

// ---- expect --------------------------------------------------------------------------------

struct Expectation {
	std::string subject;
	bool takesCount; // else a text
	std::string argumentName;
	std::function<Outcome(Host&, const std::string& argument)> check;
};

// A count a person sees, compared with the count the script names.
Expectation CountExpectation(std::string subject, std::string what, std::function<std::uint64_t(Host&)> count)
{
	return {std::move(subject), true, "N",
		[what = std::move(what), count = std::move(count)](Host& host, const std::string& text) {
			return ExpectCount(what, ParseWhole<std::uint64_t>(text).value_or(0), count(host));
		}};
}

const std::vector<Expectation>& Expectations()
{
	static const std::vector<Expectation> expectations = {
		{"checked", false, "MENU-TEXT",
			[](Host& host, const std::string& text) {
				const MenuItem* item = host.Menus().Find(text);
				if (item == nullptr)
					return Outcome::Failure("there is no menu item " + Quoted(text));
				return item->Checked() ? Outcome::Success()
									   : Outcome::Failure("the menu item " + Quoted(text) + " is not checked");
			}},
		{"unchecked", false, "MENU-TEXT",
			[](Host& host, const std::string& text) {
				const MenuItem* item = host.Menus().Find(text);
				if (item == nullptr)
					return Outcome::Failure("there is no menu item " + Quoted(text));
				return item->Checked() ? Outcome::Failure("the menu item " + Quoted(text) + " is checked")
									   : Outcome::Success();
			}},
		{"report-line", false, "TEXT",
			[](Host& host, const std::string& text) {
				for (const std::string& line : host.Report().Lines())
					if (line == text)
						return Outcome::Success();
				return Outcome::Failure("the report window has no line " + Quoted(text));
			}},
		CountExpectation("report-lines", "report lines", [](Host& host) { return host.Report().Lines().size(); }),
		CountExpectation(
			"palettes", "registered palettes", [](Host& host) { return host.Palettes().Registered().size(); }),
		CountExpectation("add-ons", "loaded add-ons", [](Host& host) { return host.AddOns().Loaded().size(); }),
		CountExpectation("live-handles", "live memory handles", [](Host&) { return VX::LiveHandleCount(); }),
	};
	return expectations;
}

const Expectation* FindExpectation(std::string_view subject)
{
	for (const Expectation& expectation : Expectations())
		if (expectation.subject == subject)
			return &expectation;
	return nullptr;
}

std::string ExpectDescription()
{
	std::string description =
		"check what a person would see; the script fails when it is not so. WHAT VALUE is one of:";
	bool first = true;
	for (const Expectation& expectation : Expectations()) {
		description += (first ? " " : ", ") + expectation.subject + " " + expectation.argumentName;
		first = false;
	}
	return description;
}

// ---- checks of arguments -------------------------------------------------------------------

std::string CheckEventCode(const std::vector<std::string>& arguments)
{
	std::int32_t code = 0;
	return ParseEventCode(arguments[0], code) ? std::string()
											  : "the event code " + Quoted(arguments[0]) + " is not a 32-bit number";
}

std::string CheckSaveAs(const std::vector<std::string>& arguments)
{
	return arguments.size() == 1 || arguments[0] == "--replace" ? std::string()
																: Quoted(arguments[0]) + " is not --replace";
}

std::string CheckPaletteMessage(const std::vector<std::string>& arguments)
{
	return arguments[0] == "hide" || arguments[0] == "show" ? std::string() : "palettes takes hide or show";
}

std::string CheckExpectation(const std::vector<std::string>& arguments)
{
	const Expectation* expectation = FindExpectation(arguments[0]);
	if (expectation == nullptr)
		return "nothing called " + Quoted(arguments[0]) + " can be expected";
	if (expectation->takesCount && !ParseWhole<std::uint64_t>(arguments[1]))
		return Quoted(arguments[1]) + " is not a count";
	return {};
}

std::string Joined(const std::vector<std::string>& words)
{
	std::string text;
	for (const std::string& word : words)
		text += (text.empty() ? "" : " ") + word;
	return text;
}

} // namespace

const std::vector<ScriptActionDefinition>& ScriptActions()
{
	static const std::vector<ScriptActionDefinition> actions = [] {
		std::vector<ScriptActionDefinition> list = {
			{"menu", 1, 1, "menu TEXT", "choose the menu item with this text", nullptr,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					return context.host.ChooseMenuItem(arguments[0]);
				}},
			{"menus", 0, 0, "menus", "show the add-ons' menu items with their check marks", nullptr,
				[](ScriptContext& context, const std::vector<std::string>&) {
					if (context.host.Menus().Items().empty())
						context.host.SessionTranscript().Add(TranscriptKind::Notice, "No add-on has a menu item");
					context.host.Menus().Show();
					return Outcome::Success();
				}},
			{"new", 0, 0, "new", "start a new, empty project (events 32 if a project was open, then 1)", nullptr,
				[](ScriptContext& context, const std::vector<std::string>&) { return context.host.NewProject(); }},
			{"open", 1, 1, "open FILE",
				"open a project file, or an IFC file (.ifc) as a project (events 32 if a project was open, then 4)",
				nullptr,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					return context.AsGiven(context.host.OpenProject(context.Resolve(arguments[0])), arguments[0]);
				}},
			{"save", 0, 0, "save", "save the project (event 8)", nullptr,
				[](ScriptContext& context, const std::vector<std::string>&) { return context.host.SaveProject(); }},
			{"save-as", 1, 2, "save-as [--replace] FILE",
				"save the project under a new name (event 128); --replace writes over a file that is not a project",
				CheckSaveAs,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					const std::string& file = arguments.back();
					return context.host.SaveProjectAs(context.Written(file), arguments.size() == 2);
				}},
			{"export-ifc", 1, 2, "export-ifc [--replace] FILE",
				"write the project read from IFC as a lighter IFC file: each library part's body at its level "
				"(\"Simple\" a box, \"Off\" none); --replace writes over a file that is not an earlier export",
				CheckSaveAs,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					return context.host.ExportLighterIfc(context.Written(arguments.back()), arguments.size() == 2);
				}},
			{"close", 0, 0, "close", "close the project (event 32)", nullptr,
				[](ScriptContext& context, const std::vector<std::string>&) { return context.host.CloseProject(); }},
			{"change", 0, 0, "change", "edit the project (event 16)", nullptr,
				[](ScriptContext& context, const std::vector<std::string>&) { return context.host.ChangeProject(); }},
			{"event", 1, 1, "event CODE", "raise a project event with any code (decimal or 0x...)", CheckEventCode,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					std::int32_t code = 0;
					ParseEventCode(arguments[0], code);
					context.host.RaiseProjectEvent(code);
					return Outcome::Success();
				}},
			{"palettes", 1, 1, "palettes hide|show", "hide or show the add-ons' palettes (host messages 2 and 3)",
				CheckPaletteMessage,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					if (arguments[0] == "hide")
						context.host.HidePalettes();
					else
						context.host.ShowPalettes();
					return Outcome::Success();
				}},
			{"regional-settings", 1, AnyNumber, "regional-settings WORD=VALUE...",
				"change the user's regional number settings: " + RegionalSettingsHelp(), nullptr,
				[](ScriptContext&, const std::vector<std::string>& arguments) {
					return ApplyRegionalSettings(arguments);
				}},
			{"save-report", 1, 1, "save-report FILE", "save the report window's lines as a text file", nullptr,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					std::string problem;
					if (!context.host.Report().SaveTo(context.Written(arguments[0]), problem))
						return Outcome::Failure(problem);
					context.host.SessionTranscript().Add(TranscriptKind::Notice,
						"The report window's " + std::to_string(context.host.Report().Lines().size()) +
							" lines were saved to " + arguments[0]);
					return Outcome::Success();
				}},
			{"say", 1, AnyNumber, "say TEXT...", "write a note into the transcript", nullptr,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					context.host.SessionTranscript().Add(TranscriptKind::Notice, Joined(arguments));
					return Outcome::Success();
				}},
			{"expect", 2, 2, "expect WHAT VALUE", ExpectDescription(), CheckExpectation,
				[](ScriptContext& context, const std::vector<std::string>& arguments) {
					return FindExpectation(arguments[0])->check(context.host, arguments[1]);
				}},
			{"quit", 0, 0, "quit", "quit the host (event 2); the script ends here", nullptr,
				[](ScriptContext& context, const std::vector<std::string>&) {
					context.host.Quit();
					context.stop = true;
					return Outcome::Success();
				}},
		};
		// A person's work in the project comes before the notes, checks and quit.
		std::vector<ScriptActionDefinition> projectActions = ProjectScriptActions();
		for (ScriptActionDefinition& action : SelectionScriptActions())
			projectActions.push_back(std::move(action));
		const auto notes = std::find_if(
			list.begin(), list.end(), [](const ScriptActionDefinition& action) { return action.word == "say"; });
		const auto afterProject = list.insert(notes, projectActions.begin(), projectActions.end()) +
			static_cast<std::ptrdiff_t>(projectActions.size());
		// Meeting what add-ons show and keep comes next, still before the notes.
		std::vector<ScriptActionDefinition> addOnActions = AddOnScriptActions();
		const std::vector<ScriptActionDefinition> paletteActions = PaletteScriptActions();
		addOnActions.insert(addOnActions.end(), paletteActions.begin(), paletteActions.end());
		const std::vector<ScriptActionDefinition> listActions = PaletteListScriptActions();
		addOnActions.insert(addOnActions.end(), listActions.begin(), listActions.end());
		list.insert(afterProject, addOnActions.begin(), addOnActions.end());
		return list;
	}();
	return actions;
}

Outcome ExpectCount(std::string_view what, std::uint64_t expected, std::uint64_t found)
{
	if (expected == found)
		return Outcome::Success();
	return Outcome::Failure("expected " + Grouped(expected) + " " + std::string(what) + ", found " + Grouped(found));
}

const ScriptActionDefinition* FindScriptAction(std::string_view word)
{
	for (const ScriptActionDefinition& action : ScriptActions())
		if (action.word == word)
			return &action;
	return nullptr;
}

} // namespace ReferenceHost
