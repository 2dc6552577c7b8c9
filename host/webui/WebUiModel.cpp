// The host's window and the dialog library's panels as the page's JSON.
#include "WebUiModel.hpp"

#include "ElementTypeTable.hpp"
#include "Host.hpp"
#include "WebUiGeometry.hpp"

#include "UD/RollDownSurface.hpp"

#include <algorithm>

namespace ReferenceHost {

namespace {

using nlohmann::json;

// Transcript lines the page keeps in view: enough for what just happened.
constexpr std::size_t ShownTranscriptLines = 60;

const char* KindName(DG::ItemKind kind)
{
	switch (kind) {
	case DG::ItemKind::Button: return "button";
	case DG::ItemKind::Icon: return "icon";
	case DG::ItemKind::LeftText: return "left-text";
	case DG::ItemKind::CenterText: return "center-text";
	case DG::ItemKind::RightText: return "right-text";
	case DG::ItemKind::CheckBox: return "check-box";
	case DG::ItemKind::RadioButton: return "radio-button";
	case DG::ItemKind::IntEdit: return "int-edit";
	case DG::ItemKind::PopUp: return "pop-up";
	case DG::ItemKind::SingleSelList: return "list";
	case DG::ItemKind::MultiSelList: return "list";
	case DG::ItemKind::UserControl: return "user-control";
	case DG::ItemKind::TabControl: return "tab-control";
	}
	return "unknown";
}

const char* PanelKindName(DG::PanelKind kind)
{
	switch (kind) {
	case DG::PanelKind::ModalDialog: return "modal-dialog";
	case DG::PanelKind::ModelessDialog: return "modeless-dialog";
	case DG::PanelKind::Palette: return "palette";
	case DG::PanelKind::TabPage: return "tab-page";
	}
	return "unknown";
}

const char* JustificationName(DG::ListBox::Justification justification)
{
	switch (justification) {
	case DG::ListBox::Center: return "center";
	case DG::ListBox::Right: return "right";
	case DG::ListBox::Left: break;
	}
	return "left";
}

const char* TranscriptKindName(TranscriptKind kind)
{
	switch (kind) {
	case TranscriptKind::Action: return "action";
	case TranscriptKind::Notice: return "notice";
	case TranscriptKind::Menu: return "menu";
	case TranscriptKind::Report: return "report";
	case TranscriptKind::Message: return "message";
	case TranscriptKind::Sound: return "sound";
	case TranscriptKind::Progress: return "progress";
	case TranscriptKind::Error: return "error";
	case TranscriptKind::Detail: return "detail";
	}
	return "unknown";
}

json Rectangle(const DG::Rect& rect)
{
	return {{"left", rect.left}, {"top", rect.top}, {"width", rect.GetWidth()}, {"height", rect.GetHeight()}};
}

json DescribeList(const DG::ItemView& item)
{
	json fields = json::array();
	for (const DG::TabFieldView& field : item.fields)
		fields.push_back(
			{{"begin", field.begin}, {"end", field.end}, {"justification", JustificationName(field.justification)},
				{"truncation",
					field.truncation == DG::ListBox::EndTruncate          ? "end"
						: field.truncation == DG::ListBox::MiddleTruncate ? "middle"
																		  : "none"}});
	json rows = json::array();
	for (const DG::ListRowView& row : item.rows) {
		json cells = json::array();
		for (const DG::ListCellView& cell : row.cells)
			cells.push_back({{"text", cell.text}, {"icon", cell.iconId}, {"glyph", cell.glyph}});
		rows.push_back({{"cells", std::move(cells)}, {"selected", row.selected}, {"grayed", row.grayed}});
	}
	return {{"multiSelection", item.multiSelection}, {"fields", std::move(fields)}, {"rows", std::move(rows)},
		{"scrollPosition", item.scrollPosition}, {"rowHeight", DG::ListBox::RowHeight},
		{"scrollBarWidth", DG::ListBox::ScrollBarWidth}};
}

json DescribeItem(const DG::ItemView& item)
{
	json described = {{"index", item.index}, {"kind", KindName(item.kind)}, {"rect", Rectangle(item.rect)},
		{"text", item.text}, {"visible", item.visible}, {"enabled", item.enabled}, {"usable", item.usable}};
	switch (item.kind) {
	case DG::ItemKind::CheckBox:
	case DG::ItemKind::RadioButton:
		described["checked"] = item.checked;
		described["group"] = item.radioGroup;
		break;
	case DG::ItemKind::IntEdit:
		described["value"] = item.value;
		described["minimum"] = item.minimum;
		described["maximum"] = item.maximum;
		break;
	case DG::ItemKind::UserControl: described["value"] = item.value; break;
	case DG::ItemKind::PopUp:
		described["choices"] = item.popUpItems;
		described["selected"] = item.popUpSelection;
		break;
	case DG::ItemKind::SingleSelList:
	case DG::ItemKind::MultiSelList: described["list"] = DescribeList(item); break;
	case DG::ItemKind::Icon:
		described["icon"] = item.iconId;
		described["glyph"] = item.glyph;
		break;
	case DG::ItemKind::TabControl: {
		json pages = json::array();
		for (const DG::PanelView& page : item.pages)
			pages.push_back(DescribePanel(page));
		described["pages"] = std::move(pages);
		break;
	}
	default: break;
	}
	return described;
}

json DescribeSelection(const Project& project)
{
	json items = json::array();
	for (const ElementId& id : project.CurrentSelection().items) {
		json item = {{"element", ElementIdText(id)}};
		if (const Element* element = project.FindElement(id))
			if (const LibraryPart* part = project.PartOf(*element))
				item["part"] = part->name;
		items.push_back(std::move(item));
	}
	return {{"kind", project.CurrentSelection().kind}, {"items", std::move(items)}};
}

// The roll panels of a dialog with a roll-down surface, top to bottom: each one's title bar
// and the tab control that holds its page.
json DescribeRollPanels(const DG::Panel& dialog)
{
	json panels = json::array();
	const UD::RollDownSurface* surface = UD::FindRollDownSurface(dialog);
	if (surface == nullptr)
		return panels;
	for (const UD::RollDownPanel* panel : surface->ShownPanels())
		panels.push_back({{"item", panel->GetTabControl().GetIndex()}, {"title", panel->GetTitle()},
			{"top", panel->GetTop()}, {"titleHeight", panel->GetValue()}, {"collapsible", panel->IsCollapsible()},
			{"rolledDown", panel->IsRolledDown()}, {"bottom", panel->IsBottomPanel()}});
	return panels;
}

} // namespace

json DescribePanel(const DG::PanelView& panel)
{
	json items = json::array();
	for (const DG::ItemView& item : panel.items)
		items.push_back(DescribeItem(item));
	return {{"id", panel.id}, {"kind", PanelKindName(panel.kind)}, {"resource", panel.resourceId},
		{"title", panel.title}, {"position", {{"x", panel.position.x}, {"y", panel.position.y}}},
		{"width", panel.width}, {"height", panel.height},
		{"grows",
			{{"horizontally", (panel.growType & DG::Dialog::HGrow) != 0},
				{"vertically", (panel.growType & DG::Dialog::VGrow) != 0}}},
		{"closeBox", panel.closeBox}, {"open", panel.open}, {"reachable", panel.itemsReachable},
		{"page", panel.pageIndex}, {"items", std::move(items)}};
}

json DescribeHostWindow(Host& host, const WebUiStatus& status)
{
	json menus = json::array();
	for (const MenuItem& item : host.Menus().Items())
		menus.push_back({{"text", item.text}, {"prompt", item.prompt}, {"checked", item.Checked()},
			{"addOn", item.owner != nullptr ? item.owner->Name() : std::string()}});

	const ProgressWindow& progress = host.Progress();
	json progressWindow = {{"open", progress.IsOpen()}};
	if (progress.IsOpen())
		progressWindow.update({{"title", progress.Title()}, {"label", progress.Label()}, {"text", progress.Text()},
			{"maximum", progress.BarMaximum()}, {"value", progress.Value()}, {"reading", progress.Reading()},
			{"stopRequested", progress.StopRequested()}});

	json windows = json::array();
	const std::vector<DG::PanelView> shownPanels = DG::ViewShownPanels();
	for (const DG::PanelView& panel : shownPanels) {
		windows.push_back(DescribePanel(panel));
		if (const DG::Panel* dialog = DG::FindPanel(panel.id))
			windows.back()["rollPanels"] = DescribeRollPanels(*dialog);
	}

	json transcript = json::array();
	const std::vector<TranscriptEntry>& entries = host.SessionTranscript().Entries();
	std::vector<const TranscriptEntry*> shown;
	for (auto entry = entries.rbegin(); entry != entries.rend() && shown.size() < ShownTranscriptLines; ++entry)
		if (entry->kind != TranscriptKind::Detail && entry->kind != TranscriptKind::Report)
			shown.push_back(&*entry);
	std::reverse(shown.begin(), shown.end());
	for (const TranscriptEntry* entry : shown)
		transcript.push_back({{"kind", TranscriptKindName(entry->kind)}, {"text", entry->text}});

	json project = nullptr;
	if (const Project* open = host.CurrentProject())
		project = {{"name", open->Name()}, {"file", open->File().string()}, {"selection", DescribeSelection(*open)}};

	return {{"project", std::move(project)}, {"menus", std::move(menus)}, {"progress", std::move(progressWindow)},
		{"windows", std::move(windows)}, {"transcript", std::move(transcript)}, {"busy", status.busy},
		{"modalDialogs", status.openModalDialogs}, {"quit", host.HasQuit()},
		{"view3d", DescribeView3d(host, shownPanels)}};
}

} // namespace ReferenceHost
