// The dialog library's resources as a module carries them: a dialog header (DLGH) and its item
// list (VXDG) under one id, and icons (ICON). This decodes their bytes into descriptions and
// loads them through the root library's resource manager. Damaged resources are refused with
// a reason; decoding never reads outside the bytes it is given.
#pragma once

#include "DG/Geometry.hpp"
#include "VX/ResourceManager.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace DG {

// A resource module id of the root library's resource manager; ActiveResourceModule names
// whichever module is active at the moment of loading.
using ResourceModule = VX::ResourceModuleId;
inline constexpr ResourceModule ActiveResourceModule = VX::ActiveResourceModule;

// The kinds of items a dialog resource can hold, by their codes in the item list. Tab
// controls are never in a resource: layout code adds them to a panel at run time.
enum class ItemKind : std::uint16_t {
	Button = 1,
	Icon = 2,
	LeftText = 3,
	CenterText = 4,
	RightText = 5,
	CheckBox = 6,
	RadioButton = 7,
	IntEdit = 8,
	PopUp = 9,
	SingleSelList = 10,
	MultiSelList = 11,
	UserControl = 12,
	TabControl = 100
};

// A readable name of the kind ("button", "check box"), for messages and renderings.
const char* ItemKindName(ItemKind kind);

struct ItemDescription {
	ItemKind kind = ItemKind::Button;
	Rect rect;
	std::uint16_t radioGroup = 0;
	std::string text;
	std::string minimum;
	std::string maximum;
};

struct DialogDescription {
	short width = 0;
	short height = 0;
	std::string title;
	std::vector<ItemDescription> items;
};

struct IconDescription {
	short width = 0;
	short height = 0;
	std::string glyph;
};

// Decoded dialog, or nothing with the reason in problem (when given).
std::optional<DialogDescription> DecodeDialog(
	std::span<const std::uint8_t> header, std::span<const std::uint8_t> items, std::string* problem = nullptr);
std::optional<IconDescription> DecodeIcon(std::span<const std::uint8_t> bytes, std::string* problem = nullptr);

// Loads and decodes dialog resource id of module; nothing (with the reason) when it is missing
// or damaged.
std::optional<DialogDescription> LoadDialog(ResourceModule module, short id, std::string* problem = nullptr);
std::optional<IconDescription> LoadIcon(ResourceModule module, short id, std::string* problem = nullptr);

} // namespace DG
