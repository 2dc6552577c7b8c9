// Draws a panel as text: items placed by their rectangles on a grid of characters six units
// wide, rows of items about level with each other sharing a line.
#include "DG/TextRendering.hpp"

#include "DG/Panel.hpp"
#include "World.hpp"

#include <algorithm>

namespace DG {

using detail::ItemData;
using detail::PanelState;

namespace {
constexpr int UnitsPerCharacter = 6;
// Items whose tops are closer than this stand on one line.
constexpr int SameLineTolerance = 10;

int Column(int units)
{
	return std::max(0, units / UnitsPerCharacter);
}

std::vector<std::string> SplitLines(const std::string& text)
{
	std::vector<std::string> lines(1);
	for (std::size_t i = 0; i < text.size(); ++i) {
		char c = text[i];
		if (c == '\r' || c == '\n') {
			if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
				++i;
			lines.emplace_back();
		} else {
			lines.back() += c;
		}
	}
	while (lines.size() > 1 && lines.back().empty())
		lines.pop_back();
	return lines;
}

// Texts are UTF-8 and a character takes one column, however many bytes it has (icon glyphs
// such as "\u25b8" are three), so columns count characters, not bytes.
std::vector<std::string> Characters(const std::string& text)
{
	std::vector<std::string> characters;
	for (char c : text) {
		if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !characters.empty())
			characters.back() += c;
		else
			characters.emplace_back(1, c);
	}
	return characters;
}

int Width(const std::string& text)
{
	return static_cast<int>(Characters(text).size());
}

std::string Join(const std::vector<std::string>& characters, std::size_t from = 0, std::size_t to = std::string::npos)
{
	std::string text;
	for (std::size_t i = from; i < std::min(to, characters.size()); ++i)
		text += characters[i];
	return text;
}

std::string Align(const std::string& text, int width, bool right, bool centre)
{
	int length = Width(text);
	if (length >= width || (!right && !centre))
		return text;
	int padding = right ? width - length : (width - length) / 2;
	return std::string(static_cast<std::size_t>(padding), ' ') + text;
}

std::string Truncate(const std::string& text, int width, ListBox::Truncation truncation)
{
	const std::vector<std::string> characters = Characters(text);
	const std::size_t length = characters.size();
	if (static_cast<int>(length) <= width || truncation == ListBox::NoTruncate)
		return text;
	if (width <= 3)
		return Join(characters, 0, static_cast<std::size_t>(std::max(0, width)));
	std::size_t keep = static_cast<std::size_t>(width - 3);
	if (truncation == ListBox::MiddleTruncate) {
		std::size_t head = (keep + 1) / 2;
		std::size_t tail = keep - head;
		return Join(characters, 0, head) + "..." + Join(characters, length - tail);
	}
	return Join(characters, 0, keep) + "...";
}

// Writes text into line at column, moved right where needed so that at least one space
// (the text's own leading spaces count) parts it from what is there already.
void Place(std::string& line, int column, const std::string& text)
{
	std::vector<std::string> cells = Characters(line);
	const std::vector<std::string> placed = Characters(text);
	std::size_t at = static_cast<std::size_t>(column);
	std::size_t used = cells.size();
	while (used > 0 && cells[used - 1] == " ")
		--used;
	std::size_t leading = 0;
	while (leading < placed.size() && placed[leading] == " ")
		++leading;
	if (used > 0 && at + leading < used + 1)
		at = used + 1 - leading;
	if (cells.size() < at + placed.size())
		cells.resize(at + placed.size(), " ");
	std::copy(placed.begin(), placed.end(), cells.begin() + static_cast<std::ptrdiff_t>(at));
	line = Join(cells);
}

void TrimRight(std::string& line)
{
	std::size_t end = line.find_last_not_of(' ');
	line.erase(end == std::string::npos ? 0 : end + 1);
}

struct Drawn {
	int column = 0;
	std::vector<std::string> lines;
};

Drawn DrawItem(const ItemData& item, bool usable)
{
	Drawn drawn;
	drawn.column = Column(item.rect.left);
	const int width = Column(item.rect.GetWidth());
	std::vector<std::string> lines;
	switch (item.kind) {
	case ItemKind::Button: lines = {"[ " + item.text + " ]"}; break;
	case ItemKind::Icon: lines = {item.icon.GetGlyph().empty() ? std::string("[icon]") : item.icon.GetGlyph()}; break;
	case ItemKind::LeftText:
	case ItemKind::CenterText:
	case ItemKind::RightText:
		for (const std::string& line : SplitLines(item.text))
			lines.push_back(Align(line, width, item.kind == ItemKind::RightText, item.kind == ItemKind::CenterText));
		break;
	case ItemKind::CheckBox: lines = {std::string(item.checked ? "[x] " : "[ ] ") + item.text}; break;
	case ItemKind::RadioButton: lines = {std::string(item.checked ? "(*) " : "( ) ") + item.text}; break;
	case ItemKind::IntEdit:
		lines = {"[" + Align(std::to_string(item.value), std::max(4, width - 2), true, false) + "]"};
		break;
	case ItemKind::PopUp: {
		std::string chosen = item.popUpSelection > 0
			? item.popUpItems[static_cast<std::size_t>(item.popUpSelection) - 1]
			: std::string();
		lines = {"[" + chosen + " v]"};
		break;
	}
	case ItemKind::UserControl: lines = {"<" + std::to_string(item.value) + ">"}; break;
	default: break;
	}
	if (!usable && !lines.empty() && item.kind != ItemKind::Icon && item.kind != ItemKind::LeftText &&
		item.kind != ItemKind::CenterText && item.kind != ItemKind::RightText)
		lines.front() += " (disabled)";
	drawn.lines = std::move(lines);
	return drawn;
}

std::string DrawRow(const detail::ListData& list, const detail::ListRow& row)
{
	std::string text;
	for (std::size_t f = 0; f < list.fields.size() && f < row.cells.size(); ++f) {
		const detail::TabField& field = list.fields[f];
		if (field.end <= field.begin)
			continue;
		const detail::ListCell& cell = row.cells[f];
		std::string content = cell.icon.GetGlyph();
		if (!content.empty() && !cell.text.empty())
			content += ' ';
		content += cell.text;
		if (content.empty())
			continue;
		const int width = std::max(1, Column(field.end - field.begin));
		content = Truncate(content, width, field.truncation);
		content = Align(content, width, field.justification == ListBox::Right, field.justification == ListBox::Center);
		Place(text, Column(field.begin), content);
	}
	std::string line = std::string(row.selected ? ">" : " ") + (row.grayed ? "~" : " ") + " " + text;
	TrimRight(line);
	return line;
}

// A list: one line per row, ">" for a selected row and "~" for a grayed one, then the
// fields in their columns.
std::vector<std::string> DrawList(const ItemData& item, bool usable)
{
	const std::string indent(static_cast<std::size_t>(Column(item.rect.left)), ' ');
	std::vector<std::string> lines;
	if (!usable)
		lines.push_back(indent + "(list disabled)");
	if (item.list.rows.empty())
		lines.push_back(indent + "   (empty list)");
	for (const detail::ListRow& row : item.list.rows)
		lines.push_back(indent + DrawRow(item.list, row));
	return lines;
}

void RenderInto(const PanelState& panel, std::vector<std::string>& out, const std::string& indent);

std::vector<std::string> DrawTabControl(const ItemData& item)
{
	std::vector<std::string> lines;
	const std::string indent(static_cast<std::size_t>(Column(item.rect.left)) + 2, ' ');
	for (detail::Serial page : item.tabPages) {
		if (const PanelState* state = detail::World::Get().FindPanel(page))
			RenderInto(*state, lines, indent);
	}
	return lines;
}

void RenderInto(const PanelState& panel, std::vector<std::string>& out, const std::string& indent)
{
	std::string header;
	if (panel.kind == PanelKind::TabPage)
		header = "--- tab page " + std::to_string(panel.pageIndex) + " ---";
	else
		header = "=== " + panel.title + " ===";
	if (!panel.valid)
		header += " (not valid: " + panel.problem + ")";
	out.push_back(indent + header);

	const bool reachable = detail::ItemsReachable(panel);
	std::vector<const ItemData*> shown;
	for (const ItemData& item : panel.items) {
		if (item.visible)
			shown.push_back(&item);
	}
	std::stable_sort(shown.begin(), shown.end(), [](const ItemData* a, const ItemData* b) {
		return a->rect.top != b->rect.top ? a->rect.top < b->rect.top : a->rect.left < b->rect.left;
	});

	std::size_t next = 0;
	while (next < shown.size()) {
		const ItemData& first = *shown[next];
		const bool usable = reachable && first.enabled;
		if (first.kind == ItemKind::SingleSelList || first.kind == ItemKind::MultiSelList ||
			first.kind == ItemKind::TabControl) {
			std::vector<std::string> block =
				first.kind == ItemKind::TabControl ? DrawTabControl(first) : DrawList(first, usable);
			for (std::string& line : block)
				out.push_back(indent + line);
			++next;
			continue;
		}
		// The items of one line: those starting about level with the first, blocks excepted.
		std::vector<Drawn> row;
		while (next < shown.size()) {
			const ItemData& item = *shown[next];
			if (item.rect.top >= first.rect.top + SameLineTolerance || item.kind == ItemKind::SingleSelList ||
				item.kind == ItemKind::MultiSelList || item.kind == ItemKind::TabControl)
				break;
			row.push_back(DrawItem(item, reachable && item.enabled));
			++next;
		}
		std::stable_sort(row.begin(), row.end(), [](const Drawn& a, const Drawn& b) { return a.column < b.column; });
		std::string line;
		for (const Drawn& drawn : row) {
			if (!drawn.lines.empty())
				Place(line, drawn.column, drawn.lines.front());
		}
		TrimRight(line);
		if (!line.empty())
			out.push_back(indent + line);
		// Further lines of multi-line texts, below their first line.
		for (const Drawn& drawn : row) {
			for (std::size_t i = 1; i < drawn.lines.size(); ++i) {
				std::string more;
				Place(more, drawn.column, drawn.lines[i]);
				TrimRight(more);
				out.push_back(indent + more);
			}
		}
	}
}
} // namespace

std::vector<std::string> RenderListRows(const ListBox& list)
{
	std::vector<std::string> lines;
	const Panel* panel = list.GetPanel();
	if (panel == nullptr)
		return lines;
	const ItemData* item = detail::PanelAccess::State(*panel).FindItem(list.GetIndex());
	if (item == nullptr || (item->kind != ItemKind::SingleSelList && item->kind != ItemKind::MultiSelList))
		return lines;
	for (const detail::ListRow& row : item->list.rows)
		lines.push_back(DrawRow(item->list, row));
	return lines;
}

std::string RenderText(const Panel& panel)
{
	std::vector<std::string> lines;
	RenderInto(detail::PanelAccess::State(panel), lines, "");
	std::string text;
	for (const std::string& line : lines)
		text += line + "\n";
	return text;
}

} // namespace DG
