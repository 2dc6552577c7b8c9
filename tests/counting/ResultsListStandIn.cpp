// The stand-in results list.
#include "ResultsListStandIn.hpp"

#include "ElementTypeTable.hpp"

#include "DG/Icon.hpp"
#include "DG/Keys.hpp"

#include <gtest/gtest.h>

namespace {

constexpr short ListItem = 1;
constexpr int ShownTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 17, 33};

DG::Icon IconOf(short id)
{
	return DG::Icon(DG::ActiveResourceModule, id);
}

} // namespace

ResultsListStandIn::ResultsListStandIn()
	: palette(std::make_unique<DG::Palette>(DG::Rect {0, 0, 520, 500}, VX::Guid()))
{
	palette->AddItem(DG::ItemKind::MultiSelList, DG::Rect {2, 20, 500, 460});
	list = std::make_unique<DG::MultiSelListBox>(*palette, ListItem);
	list->SetTabFieldCount(7);
	palette->BeginEventProcessing();
	palette->Show();
}

ResultsListStandIn::~ResultsListStandIn()
{
	list.reset();
	palette->EndEventProcessing();
}

void ResultsListStandIn::AppendTypeRow(std::uintptr_t value, std::string_view name)
{
	list->AppendItem();
	const short row = list->GetItemCount();
	list->SetTabItemIcon(row, 1, IconOf(32601));
	list->SetTabItemText(row, 3, name);
	list->SetItemValue(row, value);
	list->GrayItem(row);
}

void ResultsListStandIn::Fill(const ProbeResult& result, const ProbeControl& probe)
{
	list->DeleteItem(DG::ListBox::AllItems);
	for (const int type : ShownTypes) {
		const auto rows = result.sortedRows.find(type);
		const bool withRows = rows != result.sortedRows.end() && !rows->second.empty();
		AppendTypeRow(static_cast<std::uintptr_t>(type), ReferenceHost::ElementTypeNameOf(type));
		list->SetTabItemIcon(list->GetItemCount(), 1, IconOf(withRows ? 32602 : 32600));
		if (!withRows)
			continue;
		for (std::size_t position = 0; position < rows->second.size(); ++position) {
			const ProbeRow& row = rows->second[position];
			list->AppendItem();
			const short item = list->GetItemCount();
			list->SetTabItemIcon(item, 2, IconOf(32603));
			list->SetTabItemText(item, 3, row.name);
			list->SetItemValue(item, probe.rowAddress(type, position));
			if (row.lod >= 5 || row.lockFlags != 0 || !row.available[0])
				list->GrayItem(item);
		}
	}
}

void ResultsListStandIn::Mark(std::string_view rowText)
{
	const DG::ActionResult clicked = DG::User(*palette).ClickListItem(ListItem, rowText, 100, DG::Modifier::Command);
	ASSERT_TRUE(clicked) << clicked.GetProblem();
}
