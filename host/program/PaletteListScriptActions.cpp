// Palette list actions as script lines. A row is named by its number from 1 or by the text of
// any of its fields; "x X" places the pointer X units from the list's left edge (a person
// clicks a row's text, 40 units in, unless told otherwise); the words command, option and
// shift hold those keys down. Everything goes through the dialog library's user layer.
#include "PaletteListScriptActions.hpp"

#include "HostText.hpp"
#include "PaletteHands.hpp"

#include "DG/ListBox.hpp"
#include "DG/TextRendering.hpp"
#include "DG/User.hpp"

#include <optional>
#include <sstream>

namespace ReferenceHost {

namespace {

// Where a person's pointer lands on a row's text, and on the triangle at a row's left end.
constexpr short TextX = 40;
constexpr short TriangleX = 8;
const std::string Collapsed = "\u25b8";
const std::string Expanded = "\u25be";

template <typename Number>
bool ReadWhole(std::string_view text, Number& value)
{
	const std::optional<Number> parsed = ParseWhole<Number>(text);
	if (parsed)
		value = *parsed;
	return parsed.has_value();
}

struct Pointer {
	short x = TextX;
	unsigned modifiers = DG::Modifier::None;
};

// "x X" and modifier words after the row; answers a problem, empty when they are fine.
std::string ParsePointer(const std::vector<std::string>& arguments, std::size_t from, Pointer& pointer)
{
	for (std::size_t i = from; i < arguments.size(); ++i) {
		const std::string& word = arguments[i];
		if (word == "x") {
			if (i + 1 >= arguments.size() || !ReadWhole(arguments[i + 1], pointer.x))
				return "x takes a whole number";
			++i;
		} else if (word == "command") {
			pointer.modifiers |= DG::Modifier::Command;
		} else if (word == "option") {
			pointer.modifiers |= DG::Modifier::Option;
		} else if (word == "shift") {
			pointer.modifiers |= DG::Modifier::Shift;
		} else {
			return Quoted(word) + " is neither x NUMBER nor command, option or shift";
		}
	}
	return {};
}

std::string CheckPointer(const std::vector<std::string>& arguments)
{
	Pointer pointer;
	return ParsePointer(arguments, 1, pointer);
}

// The palette's first list, where a person sees it.
struct ListInView {
	DG::Panel* page = nullptr;
	short index = 0;
};

std::optional<ListInView> FindList(Host& host, std::string& problem)
{
	DG::Dialog* palette = FindOpenPalette(host, &problem);
	if (palette == nullptr)
		return std::nullopt;
	const std::optional<PaletteItem> item =
		FindPaletteItem(*palette, "list#1", 0, {DG::ItemKind::MultiSelList, DG::ItemKind::SingleSelList}, problem);
	if (!item)
		return std::nullopt;
	return ListInView {item->page.panel, item->index};
}

// A row by number or by the text of one of its fields; 0 with a problem when there is none.
int FindRow(const DG::ListBox& list, std::string_view name, std::string& problem)
{
	int number = 0;
	if (ReadWhole(name, number)) {
		if (number >= 1 && number <= list.GetItemCount())
			return number;
		problem = "the list has no row " + std::string(name);
		return 0;
	}
	for (int row = 1; row <= list.GetItemCount(); ++row)
		for (short field = 1; field <= list.GetTabFieldCount(); ++field)
			if (list.GetTabItemText(row, field) == name)
				return row;
	problem = "no row of the list shows " + Quoted(name);
	return 0;
}

enum class Clicks { Single, Double };

// The list in view and its row that shows the name.
struct RowInView {
	ListInView view;
	int row = 0;
};

std::optional<RowInView> FindRowInView(Host& host, const std::string& rowName, std::string& problem)
{
	const std::optional<ListInView> view = FindList(host, problem);
	if (!view)
		return std::nullopt;
	const int row = FindRow(DG::MultiSelListBox(*view->page, view->index), rowName, problem);
	if (row == 0)
		return std::nullopt;
	return RowInView {*view, row};
}

Outcome ClickRow(Host& host, const std::string& rowName, const Pointer& pointer, Clicks clicks)
{
	std::string problem;
	const std::optional<RowInView> found = FindRowInView(host, rowName, problem);
	if (!found)
		return Outcome::Failure(problem);
	const auto [view, row] = *found;
	DG::User person(*view.page);
	const DG::ActionResult result = clicks == Clicks::Single
		? person.ClickListItem(view.index, row, pointer.x, pointer.modifiers)
		: person.DoubleClickListItem(view.index, row, pointer.x, pointer.modifiers);
	return result ? Outcome::Success() : Outcome::Failure(result.GetProblem());
}

// Clicks the triangle of a row that shows the one expected: a person does not unfold a row
// that has nothing to unfold.
Outcome ClickTriangle(Host& host, const std::string& rowName, const std::string& expected)
{
	std::string problem;
	const std::optional<RowInView> found = FindRowInView(host, rowName, problem);
	if (!found)
		return Outcome::Failure(problem);
	const int row = found->row;
	if (DG::MultiSelListBox(*found->view.page, found->view.index).GetTabItemIcon(row, 1).GetGlyph() != expected)
		return Outcome::Failure("row " + Quoted(rowName) + " shows no " + expected);
	return ClickRow(host, std::to_string(row), Pointer {TriangleX, DG::Modifier::None}, Clicks::Single);
}

// A rendered row with its runs of blanks made one, so a check reads the row as a person does.
std::string Squeezed(const std::string& line)
{
	std::istringstream words(line);
	std::string word;
	std::string out;
	while (words >> word)
		out += (out.empty() ? "" : " ") + word;
	return out;
}

Outcome ScrollTo(Host& host, const std::string& rowName)
{
	std::string problem;
	const std::optional<RowInView> found = FindRowInView(host, rowName, problem);
	if (!found)
		return Outcome::Failure(problem);
	const DG::ActionResult result = DG::User(*found->view.page).ScrollList(found->view.index, found->row);
	return result ? Outcome::Success() : Outcome::Failure(result.GetProblem());
}

Outcome ExpectList(Host& host, const std::vector<std::string>& arguments)
{
	std::string problem;
	const std::optional<ListInView> view = FindList(host, problem);
	if (!view)
		return Outcome::Failure(problem);
	const DG::MultiSelListBox list(*view->page, view->index);
	const std::string& what = arguments[0];
	if (what == "rows") {
		int expected = 0;
		if (arguments.size() != 2 || !ReadWhole(arguments[1], expected))
			return Outcome::Failure("palette-list-expect rows takes a number");
		if (list.GetItemCount() == expected)
			return Outcome::Success();
		return Outcome::Failure("expected " + arguments[1] + " rows, found " + std::to_string(list.GetItemCount()));
	}
	if (what == "row") {
		if (arguments.size() != 3)
			return Outcome::Failure("palette-list-expect row takes a row and the text it shows");
		const int row = FindRow(list, arguments[1], problem);
		if (row == 0)
			return Outcome::Failure(problem);
		const std::string found = Squeezed(DG::RenderListRows(list)[static_cast<std::size_t>(row - 1)]);
		if (found == Squeezed(arguments[2]))
			return Outcome::Success();
		return Outcome::Failure(
			"expected row " + arguments[1] + " " + Quoted(Squeezed(arguments[2])) + ", found " + Quoted(found));
	}
	if (what == "top") {
		int expected = 0;
		if (arguments.size() != 2 || !ReadWhole(arguments[1], expected))
			return Outcome::Failure("palette-list-expect top takes a row number");
		if (list.GetScrollPosition() == expected)
			return Outcome::Success();
		return Outcome::Failure(
			"expected row " + arguments[1] + " at the top, found " + std::to_string(list.GetScrollPosition()));
	}
	if (what == "selected") {
		std::string found;
		for (int row : list.GetSelectedItems())
			found += (found.empty() ? "" : " ") + std::to_string(row);
		std::string expected;
		for (std::size_t i = 1; i < arguments.size(); ++i)
			expected += (expected.empty() ? "" : " ") + arguments[i];
		if (expected == "none")
			expected.clear();
		if (found == expected)
			return Outcome::Success();
		return Outcome::Failure("expected rows " + Quoted(expected) + " selected, found " + Quoted(found));
	}
	return Outcome::Failure("palette-list-expect checks rows, row, top or selected");
}

} // namespace

std::vector<ScriptActionDefinition> PaletteListScriptActions()
{
	return {
		{"palette-list-click", 1, 6, "palette-list-click ROW [x X] [command] [option] [shift]",
			"clicks a row of the palette's list (at its text unless x is given), with the keys held down", CheckPointer,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				Pointer pointer;
				ParsePointer(arguments, 1, pointer);
				return ClickRow(context.host, arguments[0], pointer, Clicks::Single);
			}},
		{"palette-list-double-click", 1, 6, "palette-list-double-click ROW [x X] [command] [option] [shift]",
			"double-clicks a row of the palette's list", CheckPointer,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				Pointer pointer;
				ParsePointer(arguments, 1, pointer);
				return ClickRow(context.host, arguments[0], pointer, Clicks::Double);
			}},
		{"palette-unfold", 1, 1, "palette-unfold ROW", "clicks the folded triangle of a row of the palette's list",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return ClickTriangle(context.host, arguments[0], Collapsed);
			}},
		{"palette-fold", 1, 1, "palette-fold ROW", "clicks the unfolded triangle of a row of the palette's list",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return ClickTriangle(context.host, arguments[0], Expanded);
			}},
		{"palette-list-scroll", 1, 1, "palette-list-scroll ROW",
			"scrolls the palette's list until the row is the top one shown", nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return ScrollTo(context.host, arguments[0]);
			}},
		{"palette-list-expect", 1, 64, "palette-list-expect rows N | row ROW TEXT | top ROW | selected ROWS...|none",
			"checks the number of rows of the palette's list, a row as drawn (blanks squeezed), the top row shown, "
			"or the selected rows",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return ExpectList(context.host, arguments);
			}},
	};
}

} // namespace ReferenceHost
