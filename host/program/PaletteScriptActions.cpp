// Palette actions as script lines. An item argument names an item as a person would (see
// PaletteHands.hpp); "page N" at the end of a line keeps the search to the N-th panel from
// the top. Every action goes through the dialog library's user layer and fails with its
// reason when a person could not take it (a missing, hidden or disabled item, a rolled-up
// panel, a hidden palette).
#include "PaletteScriptActions.hpp"

#include "HostText.hpp"
#include "PaletteHands.hpp"

#include "DG/Census.hpp"
#include "DG/User.hpp"
#include "UD/RollDownSurface.hpp"
#include "UD/TextRendering.hpp"

#include <optional>

namespace ReferenceHost {

namespace {

bool ParseShort(std::string_view text, short& value)
{
	const std::optional<short> parsed = ParseWhole<short>(text);
	if (parsed)
		value = *parsed;
	return parsed.has_value();
}

// The arguments without a trailing "page N", and N (0 when not given).
std::vector<std::string> WithoutPage(const std::vector<std::string>& arguments, int& page)
{
	page = 0;
	short number = 0;
	if (arguments.size() >= 2 && arguments[arguments.size() - 2] == "page" && ParseShort(arguments.back(), number)) {
		page = number;
		return {arguments.begin(), arguments.end() - 2};
	}
	return arguments;
}

Outcome FromAction(const DG::ActionResult& result, const std::string& what)
{
	return result ? Outcome::Success() : Outcome::Failure(what + ": " + result.GetProblem());
}

// Runs act on the named item of one of the kinds on the open palette.
template <typename Act>
Outcome OnItem(Host& host, const std::vector<std::string>& arguments, const std::vector<DG::ItemKind>& kinds, Act act)
{
	std::string problem;
	DG::Dialog* palette = FindOpenPalette(host, &problem);
	if (palette == nullptr)
		return Outcome::Failure(problem);
	int page = 0;
	const std::vector<std::string> rest = WithoutPage(arguments, page);
	const std::optional<PaletteItem> item = FindPaletteItem(*palette, rest.front(), page, kinds, problem);
	if (!item)
		return Outcome::Failure(problem);
	return act(*item, rest);
}

// Checks of arguments, before anything runs.
auto ShortsFrom(std::size_t first, std::size_t count)
{
	return [first, count](const std::vector<std::string>& arguments) {
		int page = 0;
		const std::vector<std::string> rest = WithoutPage(arguments, page);
		for (std::size_t i = first; i < first + count; ++i) {
			short value = 0;
			if (i >= rest.size() || !ParseShort(rest[i], value))
				return (i < rest.size() ? Quoted(rest[i]) : std::string("nothing")) + " is not a whole number";
		}
		return std::string();
	};
}

std::string CheckRoll(const std::vector<std::string>& arguments)
{
	return arguments[1] == "up" || arguments[1] == "down" ? std::string() : "palette-roll takes up or down";
}

// ---- checks of what a person sees -------------------------------------------------------------

Outcome Compare(const std::string& what, const std::string& expected, const std::string& found)
{
	if (expected == found)
		return Outcome::Success();
	return Outcome::Failure("expected " + what + " " + Quoted(expected) + ", found " + Quoted(found));
}

std::string ItemText(const PaletteItem& item)
{
	const DG::Panel& page = *item.page.panel;
	switch (item.kind) {
	case DG::ItemKind::Button: return DG::Button(page, item.index).GetText();
	case DG::ItemKind::RadioButton: return DG::RadioButton(page, item.index).GetText();
	case DG::ItemKind::CheckBox: return DG::CheckBox(page, item.index).GetText();
	case DG::ItemKind::LeftText: return DG::LeftText(page, item.index).GetText();
	case DG::ItemKind::CenterText: return DG::CenterText(page, item.index).GetText();
	case DG::ItemKind::RightText: return DG::RightText(page, item.index).GetText();
	default: return {};
	}
}

std::string ItemValue(const PaletteItem& item)
{
	const DG::Panel& page = *item.page.panel;
	switch (item.kind) {
	case DG::ItemKind::IntEdit: return std::to_string(DG::IntEdit(page, item.index).GetValue());
	case DG::ItemKind::PopUp: {
		const DG::PopUp popUp(page, item.index);
		return popUp.GetSelectedItem() > 0 ? popUp.GetItemText(popUp.GetSelectedItem()) : std::string();
	}
	case DG::ItemKind::RadioButton: return DG::RadioButton(page, item.index).IsSelected() ? "on" : "off";
	case DG::ItemKind::CheckBox: return DG::CheckBox(page, item.index).IsChecked() ? "on" : "off";
	default: return ItemText(item);
	}
}

// A person can use the item: shown, enabled, on a panel whose items are not disabled.
bool Usable(const PaletteItem& item, DG::Dialog& palette)
{
	const DG::Item handle(*item.page.panel, item.index);
	return handle.IsVisible() && handle.IsEnabled() && !item.page.panel->AreItemsDisabled() &&
		!palette.AreItemsDisabled();
}

struct PaletteCheck {
	std::string what;
	std::size_t values; // arguments after WHAT, without ITEM and "page N"
	bool takesItem;
	std::string usage;
	std::function<Outcome(Host&, DG::Dialog&, const std::optional<PaletteItem>&, const std::vector<std::string>&)>
		check;
};

const std::vector<PaletteCheck>& PaletteChecks()
{
	static const std::vector<PaletteCheck> checks = {
		{"title", 1, false, "title TEXT",
			[](Host&, DG::Dialog& palette, const auto&, const auto& values) {
				return Compare("the palette's title", values[0], palette.GetTitle());
			}},
		{"palette-size", 2, false, "palette-size WIDTH HEIGHT",
			[](Host&, DG::Dialog& palette, const auto&, const auto& values) {
				return Compare("the palette's size", values[0] + " " + values[1],
					std::to_string(palette.GetWidth()) + " " + std::to_string(palette.GetHeight()));
			}},
		{"text", 1, true, "text ITEM TEXT",
			[](Host&, DG::Dialog&, const auto& item, const auto& values) {
				return Compare("the text of the " + PaletteItemName(*item), values[0], ItemText(*item));
			}},
		{"value", 1, true, "value ITEM VALUE",
			[](Host&, DG::Dialog&, const auto& item, const auto& values) {
				return Compare("the value of the " + PaletteItemName(*item), values[0], ItemValue(*item));
			}},
		{"enabled", 0, true, "enabled ITEM",
			[](Host&, DG::Dialog& palette, const auto& item, const auto&) {
				return Usable(*item, palette) ? Outcome::Success()
											  : Outcome::Failure("the " + PaletteItemName(*item) + " is disabled");
			}},
		{"disabled", 0, true, "disabled ITEM",
			[](Host&, DG::Dialog& palette, const auto& item, const auto&) {
				return !Usable(*item, palette) ? Outcome::Success()
											   : Outcome::Failure("the " + PaletteItemName(*item) + " is enabled");
			}},
		{"position", 2, true, "position ITEM X Y",
			[](Host&, DG::Dialog&, const auto& item, const auto& values) {
				const DG::Point at = DG::Item(*item->page.panel, item->index).GetPosition();
				return Compare("the position of the " + PaletteItemName(*item), values[0] + " " + values[1],
					std::to_string(at.x) + " " + std::to_string(at.y));
			}},
		{"size", 2, true, "size ITEM WIDTH HEIGHT",
			[](Host&, DG::Dialog&, const auto& item, const auto& values) {
				const DG::Item handle(*item->page.panel, item->index);
				return Compare("the size of the " + PaletteItemName(*item), values[0] + " " + values[1],
					std::to_string(handle.GetWidth()) + " " + std::to_string(handle.GetHeight()));
			}},
	};
	return checks;
}

const PaletteCheck* FindCheck(std::string_view what)
{
	for (const PaletteCheck& check : PaletteChecks())
		if (check.what == what)
			return &check;
	return nullptr;
}

std::string ChecksDescription()
{
	std::string text = "check what a person sees on the open palette: open, closed, shown, hidden, live-panels N, "
					   "panel-title PANEL TEXT, rolled PANEL up|down";
	for (const PaletteCheck& check : PaletteChecks())
		text += ", " + check.usage;
	return text + " (ITEM checks take \"page N\" at the end)";
}

std::string CheckExpectation(const std::vector<std::string>& arguments)
{
	const std::string& what = arguments[0];
	const std::size_t given = arguments.size() - 1;
	if (what == "open" || what == "closed" || what == "shown" || what == "hidden")
		return given == 0 ? std::string() : what + " takes nothing more";
	if (what == "live-panels")
		return given == 1 ? ShortsFrom(1, 1)(arguments) : "live-panels takes a count";
	if (what == "panel-title")
		return given == 2 ? std::string() : "panel-title takes PANEL and TEXT";
	if (what == "rolled")
		return given == 2 && (arguments[2] == "up" || arguments[2] == "down") ? std::string()
																			  : "rolled takes PANEL and up or down";
	const PaletteCheck* check = FindCheck(what);
	if (check == nullptr)
		return "nothing called " + Quoted(what) + " can be checked on a palette";
	int page = 0;
	const std::size_t plain = WithoutPage(arguments, page).size() - 1;
	if (plain != check->values + (check->takesItem ? 1 : 0))
		return "palette-expect " + check->usage + " takes " +
			std::to_string(check->values + (check->takesItem ? 1 : 0)) + " arguments";
	return {};
}

Outcome Expect(Host& host, const std::vector<std::string>& arguments)
{
	const std::string& what = arguments[0];
	std::string problem;
	DG::Dialog* palette = FindOpenPalette(host, &problem);
	const auto* shown = dynamic_cast<DG::ModelessBase*>(palette);
	if (what == "open" || what == "closed")
		return (palette != nullptr) == (what == "open")
			? Outcome::Success()
			: Outcome::Failure(palette != nullptr ? "a palette is open" : problem);
	if (what == "live-panels") {
		short expected = 0;
		ParseShort(arguments[1], expected);
		return Compare("live panels", std::to_string(expected), std::to_string(DG::LivePanelCount()));
	}
	if (palette == nullptr)
		return Outcome::Failure(problem);
	if (what == "shown" || what == "hidden")
		return (shown != nullptr && shown->IsVisible()) == (what == "shown")
			? Outcome::Success()
			: Outcome::Failure(what == "shown" ? "the palette is hidden" : "the palette is shown");
	if (what == "panel-title" || what == "rolled") {
		const std::optional<PalettePage> panel = FindPalettePanel(*palette, arguments[1], problem);
		if (!panel)
			return Outcome::Failure(problem);
		if (what == "rolled")
			return Compare(
				"panel " + arguments[1] + " rolled", arguments[2], panel->rollPanel->IsRolledDown() ? "down" : "up");
		return Compare("the title of panel " + arguments[1], arguments[2], panel->rollPanel->GetTitle());
	}
	const PaletteCheck& check = *FindCheck(what);
	int page = 0;
	std::vector<std::string> values = WithoutPage(arguments, page);
	values.erase(values.begin());
	std::optional<PaletteItem> item;
	if (check.takesItem) {
		item = FindPaletteItem(*palette, values.front(), page, {}, problem);
		if (!item)
			return Outcome::Failure(problem);
		values.erase(values.begin());
	}
	return check.check(host, *palette, item, values);
}

} // namespace

std::vector<std::string> PaletteLines(Host& host, const AddOn* owner)
{
	DG::Dialog* palette = FindOpenPalette(host, nullptr, owner);
	if (palette == nullptr)
		return {};
	std::vector<std::string> lines;
	const std::string text = UD::RenderText(*palette);
	std::size_t start = 0;
	while (start < text.size()) {
		const std::size_t end = text.find('\n', start);
		lines.push_back(text.substr(start, end - start));
		start = end == std::string::npos ? text.size() : end + 1;
	}
	const auto* modeless = dynamic_cast<const DG::ModelessBase*>(palette);
	if (!lines.empty() && modeless != nullptr && !modeless->IsVisible())
		lines.front() += " (hidden)";
	return lines;
}

std::vector<ScriptActionDefinition> PaletteScriptActions()
{
	using DG::ItemKind;
	return {
		{"palette-look", 0, 0, "palette-look", "look at the open palette: its panels and pages as they are drawn",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>&) {
				const std::vector<std::string> lines = PaletteLines(context.host);
				if (lines.empty())
					return Outcome::Failure("no add-on palette is open");
				for (const std::string& line : lines)
					context.host.SessionTranscript().Add(TranscriptKind::Notice, line);
				return Outcome::Success();
			}},
		{"palette-click", 1, 3, "palette-click ITEM [page N]",
			"click a button, radio button or check box of the palette", nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return OnItem(context.host, arguments, {ItemKind::Button, ItemKind::RadioButton, ItemKind::CheckBox},
					[](const PaletteItem& item, const std::vector<std::string>&) {
						return FromAction(DG::User(*item.page.panel).Click(item.index), PaletteItemName(item));
					});
			}},
		{"palette-type", 2, 4, "palette-type ITEM NUMBER [page N]", "type a whole number into an edit of the palette",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return OnItem(context.host, arguments, {ItemKind::IntEdit},
					[](const PaletteItem& item, const std::vector<std::string>& rest) {
						if (rest.size() != 2)
							return Outcome::Failure("palette-type takes ITEM and NUMBER");
						return FromAction(DG::User(*item.page.panel).Type(item.index, rest[1]), PaletteItemName(item));
					});
			}},
		{"palette-choose", 2, 4, "palette-choose ITEM CHOICE [page N]", "choose an item of a pop-up of the palette",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return OnItem(context.host, arguments, {ItemKind::PopUp},
					[](const PaletteItem& item, const std::vector<std::string>& rest) {
						if (rest.size() != 2)
							return Outcome::Failure("palette-choose takes ITEM and CHOICE");
						return FromAction(
							DG::User(*item.page.panel).ChoosePopUpItem(item.index, std::string_view(rest[1])),
							PaletteItemName(item));
					});
			}},
		{"palette-roll", 2, 2, "palette-roll PANEL up|down",
			"roll a panel of the palette up or down; PANEL is its number from the top or the beginning of its title",
			CheckRoll,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				std::string problem;
				DG::Dialog* palette = FindOpenPalette(context.host, &problem);
				std::optional<PalettePage> panel;
				if (palette != nullptr)
					panel = FindPalettePanel(*palette, arguments[0], problem);
				if (!panel)
					return Outcome::Failure(problem);
				return FromAction(UD::UserRoll(*panel->rollPanel, arguments[1] == "down"), "panel " + arguments[0]);
			}},
		{"palette-resize", 2, 2, "palette-resize WIDTH HEIGHT", "resize the open palette", ShortsFrom(0, 2),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				std::string problem;
				DG::Dialog* palette = FindOpenPalette(context.host, &problem);
				if (palette == nullptr)
					return Outcome::Failure(problem);
				short width = 0;
				short height = 0;
				ParseShort(arguments[0], width);
				ParseShort(arguments[1], height);
				return FromAction(DG::User(*palette).Resize(width, height), "the palette");
			}},
		{"palette-close", 0, 0, "palette-close", "press the close box of the open palette", nullptr,
			[](ScriptContext& context, const std::vector<std::string>&) {
				std::string problem;
				DG::Dialog* palette = FindOpenPalette(context.host, &problem);
				if (palette == nullptr)
					return Outcome::Failure(problem);
				return FromAction(DG::User(*palette).PressCloseBox(), "the palette's close box");
			}},
		{"palette-expect", 1, AnyNumber, "palette-expect WHAT [ITEM] VALUE...", ChecksDescription(), CheckExpectation,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return Expect(context.host, arguments);
			}},
	};
}

} // namespace ReferenceHost
