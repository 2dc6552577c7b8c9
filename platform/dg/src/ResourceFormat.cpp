// Decoding the dialog header, item list and icon resources, with every read checked against
// the end of the bytes, and loading them through the resource manager.
#include "DG/ResourceFormat.hpp"

#include <climits>

namespace DG {

namespace {
// Reads little-endian numbers and NUL-terminated texts, failing instead of passing the end.
class Reader {
public:
	explicit Reader(std::span<const std::uint8_t> data) : bytes(data) {}

	bool U16(std::uint16_t& value)
	{
		if (bytes.size() - position < 2)
			return false;
		value = static_cast<std::uint16_t>(bytes[position] | (bytes[position + 1] << 8));
		position += 2;
		return true;
	}

	bool I16(short& value)
	{
		std::uint16_t raw = 0;
		if (!U16(raw))
			return false;
		value = static_cast<short>(raw);
		return true;
	}

	bool Text(std::string& text)
	{
		for (std::size_t end = position; end < bytes.size(); ++end) {
			if (bytes[end] == 0) {
				text.assign(reinterpret_cast<const char*>(bytes.data() + position), end - position);
				position = end + 1;
				return true;
			}
		}
		return false;
	}

	// Only zero bytes (the padding to the next resource) may follow the last field.
	bool OnlyPaddingLeft() const
	{
		for (std::size_t i = position; i < bytes.size(); ++i) {
			if (bytes[i] != 0)
				return false;
		}
		return true;
	}

private:
	std::span<const std::uint8_t> bytes;
	std::size_t position = 0;
};

template <class Value>
std::optional<Value> Fail(std::string* problem, std::string reason)
{
	if (problem != nullptr)
		*problem = std::move(reason);
	return std::nullopt;
}

bool IsResourceKind(std::uint16_t code)
{
	return code >= 1 && code <= 12;
}
} // namespace

const char* ItemKindName(ItemKind kind)
{
	switch (kind) {
	case ItemKind::Button: return "button";
	case ItemKind::Icon: return "icon";
	case ItemKind::LeftText: return "left-aligned text";
	case ItemKind::CenterText: return "centred text";
	case ItemKind::RightText: return "right-aligned text";
	case ItemKind::CheckBox: return "check box";
	case ItemKind::RadioButton: return "radio button";
	case ItemKind::IntEdit: return "integer edit";
	case ItemKind::PopUp: return "pop-up";
	case ItemKind::SingleSelList: return "single-selection list";
	case ItemKind::MultiSelList: return "multiple-selection list";
	case ItemKind::UserControl: return "user control";
	case ItemKind::TabControl: return "tab control";
	}
	return "item";
}

std::optional<DialogDescription> DecodeDialog(
	std::span<const std::uint8_t> header, std::span<const std::uint8_t> items, std::string* problem)
{
	Reader head(header);
	std::uint16_t width = 0, height = 0, count = 0, reserved = 0;
	if (!head.U16(width) || !head.U16(height) || !head.U16(count) || !head.U16(reserved))
		return Fail<DialogDescription>(problem, "the dialog header is shorter than its fixed part");
	if (reserved != 0)
		return Fail<DialogDescription>(problem, "the dialog header's reserved field is not 0");
	if (width > SHRT_MAX || height > SHRT_MAX)
		return Fail<DialogDescription>(problem, "the dialog is larger than 32767 units");
	if (count > SHRT_MAX)
		return Fail<DialogDescription>(problem, "the dialog has more than 32767 items");
	DialogDescription dialog;
	dialog.width = static_cast<short>(width);
	dialog.height = static_cast<short>(height);
	if (!head.Text(dialog.title))
		return Fail<DialogDescription>(problem, "the dialog title has no terminating zero");
	if (!head.OnlyPaddingLeft())
		return Fail<DialogDescription>(problem, "the dialog header has bytes after its title");

	Reader list(items);
	for (std::uint16_t n = 1; n <= count; ++n) {
		const std::string where = "item " + std::to_string(n) + ": ";
		std::uint16_t kind = 0, group = 0;
		short x = 0, y = 0, w = 0, h = 0;
		if (!list.U16(kind) || !list.I16(x) || !list.I16(y) || !list.I16(w) || !list.I16(h) || !list.U16(group))
			return Fail<DialogDescription>(problem, where + "the item list ends inside the item");
		if (!IsResourceKind(kind))
			return Fail<DialogDescription>(problem, where + "unknown item kind " + std::to_string(kind));
		if (w < 0 || h < 0)
			return Fail<DialogDescription>(problem, where + "negative width or height");
		if (static_cast<int>(x) + w > SHRT_MAX || static_cast<int>(y) + h > SHRT_MAX)
			return Fail<DialogDescription>(problem, where + "the rectangle reaches beyond 32767 units");
		ItemDescription item;
		item.kind = static_cast<ItemKind>(kind);
		item.rect = Rect::FromSize(x, y, w, h);
		item.radioGroup = group;
		if (!list.Text(item.text) || !list.Text(item.minimum) || !list.Text(item.maximum))
			return Fail<DialogDescription>(problem, where + "a text has no terminating zero");
		dialog.items.push_back(std::move(item));
	}
	if (!list.OnlyPaddingLeft())
		return Fail<DialogDescription>(
			problem, "the item list holds more than the header's " + std::to_string(count) + " items");
	return dialog;
}

std::optional<IconDescription> DecodeIcon(std::span<const std::uint8_t> bytes, std::string* problem)
{
	Reader reader(bytes);
	std::uint16_t width = 0, height = 0;
	if (!reader.U16(width) || !reader.U16(height))
		return Fail<IconDescription>(problem, "the icon is shorter than its size");
	if (width > SHRT_MAX || height > SHRT_MAX)
		return Fail<IconDescription>(problem, "the icon is larger than 32767 units");
	IconDescription icon;
	icon.width = static_cast<short>(width);
	icon.height = static_cast<short>(height);
	if (!reader.Text(icon.glyph))
		return Fail<IconDescription>(problem, "the icon's glyph has no terminating zero");
	if (!reader.OnlyPaddingLeft())
		return Fail<IconDescription>(problem, "the icon has bytes after its glyph");
	return icon;
}

namespace {
// The resource's bytes; nothing when the module has no such resource.
std::optional<std::span<const std::uint8_t>> Load(VX::ResourceType type, short id, ResourceModule module)
{
	std::uint32_t size = 0;
	const void* bytes = RSLoadResource(type, id, module, &size);
	if (bytes == nullptr)
		return std::nullopt;
	return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size);
}
} // namespace

std::optional<DialogDescription> LoadDialog(ResourceModule module, short id, std::string* problem)
{
	auto header = Load(VX::ResourceTypes::DialogHeader, id, module);
	if (!header)
		return Fail<DialogDescription>(problem, "not found");
	// A dialog without items needs no item list.
	auto items = Load(VX::ResourceTypes::DialogItems, id, module);
	return DecodeDialog(*header, items.value_or(std::span<const std::uint8_t>()), problem);
}

std::optional<IconDescription> LoadIcon(ResourceModule module, short id, std::string* problem)
{
	auto bytes = Load(VX::ResourceTypes::Icon, id, module);
	if (!bytes)
		return Fail<IconDescription>(problem, "not found");
	return DecodeIcon(*bytes, problem);
}

} // namespace DG
