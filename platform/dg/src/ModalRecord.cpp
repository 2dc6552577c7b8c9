// The record of shown modal dialogs and its listener.
#include "DG/ModalRecord.hpp"

#include "DG/TextRendering.hpp"
#include "ModalRecordInternal.hpp"
#include "World.hpp"

#include <algorithm>
#include <tuple>
#include <utility>

namespace DG {

namespace {
struct Entry {
	std::size_t number = 0;
	ShownModalDialog dialog;
};

struct Record {
	std::vector<Entry> entries;
	std::size_t nextNumber = 0;
	ModalRecordListener* listener = nullptr;
};

Record& TheRecord()
{
	static Record* record = new Record;
	return *record;
}

// A person reads the message first, then the choices in it, and the buttons last; each
// group top to bottom, left to right. Other items carry no text of their own to read.
enum class ReadingGroup { Message, Choice, Button, Unread };

ReadingGroup GroupOf(ItemKind kind)
{
	switch (kind) {
	case ItemKind::LeftText:
	case ItemKind::CenterText:
	case ItemKind::RightText: return ReadingGroup::Message;
	case ItemKind::CheckBox:
	case ItemKind::RadioButton: return ReadingGroup::Choice;
	case ItemKind::Button: return ReadingGroup::Button;
	default: return ReadingGroup::Unread;
	}
}

std::vector<std::string> TextsInReadingOrder(const std::vector<detail::ItemData>& items)
{
	std::vector<const detail::ItemData*> read;
	for (const detail::ItemData& item : items)
		if (item.visible && GroupOf(item.kind) != ReadingGroup::Unread && !item.text.empty())
			read.push_back(&item);
	std::stable_sort(read.begin(), read.end(), [](const detail::ItemData* a, const detail::ItemData* b) {
		const auto place = [](const detail::ItemData* item) {
			return std::tuple(GroupOf(item->kind), item->rect.top, item->rect.left);
		};
		return place(a) < place(b);
	});
	std::vector<std::string> texts;
	for (const detail::ItemData* item : read)
		texts.push_back(item->text);
	return texts;
}
} // namespace

ModalRecordListener::~ModalRecordListener() = default;
void ModalRecordListener::ModalDialogShown(const ShownModalDialog&)
{
}
void ModalRecordListener::ModalDialogClosed(const ShownModalDialog&)
{
}

std::vector<ShownModalDialog> GetShownModalDialogs()
{
	std::vector<ShownModalDialog> dialogs;
	for (const Entry& entry : TheRecord().entries)
		dialogs.push_back(entry.dialog);
	return dialogs;
}

std::size_t GetShownModalDialogCount()
{
	return TheRecord().entries.size();
}

void ClearShownModalDialogs()
{
	TheRecord().entries.clear();
}

ModalRecordListener* SetModalRecordListener(ModalRecordListener* listener)
{
	return std::exchange(TheRecord().listener, listener);
}

namespace detail {

std::size_t RecordShown(const ModalDialog& dialog)
{
	const PanelState& state = PanelAccess::State(dialog);
	Entry entry;
	entry.number = TheRecord().nextNumber++;
	entry.dialog.resourceId = state.resourceId;
	entry.dialog.title = state.title;
	entry.dialog.texts = TextsInReadingOrder(state.items);
	entry.dialog.rendering = RenderText(dialog);
	TheRecord().entries.push_back(entry);
	if (ModalRecordListener* listener = TheRecord().listener)
		listener->ModalDialogShown(entry.dialog);
	return entry.number;
}

void RecordClosed(std::size_t number, ModalDialog::ModalResponse response)
{
	std::vector<Entry>& entries = TheRecord().entries;
	auto found = std::find_if(entries.begin(), entries.end(), [number](const Entry& e) { return e.number == number; });
	if (number == NoRecord || found == entries.end())
		return;
	found->dialog.closed = true;
	found->dialog.response = response;
	// A copy: the listener may show another dialog, which grows the record.
	ShownModalDialog closed = found->dialog;
	if (ModalRecordListener* listener = TheRecord().listener)
		listener->ModalDialogClosed(closed);
}

} // namespace detail

} // namespace DG
