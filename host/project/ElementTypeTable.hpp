// What the host knows per element type: the name a person reads and writes (in project files
// and scripts), and the code and sub-field an element of the type carries as a selection
// item. The host knows item codes for more types than add-ons select (groups, camera sets,
// stairs of their own type), so that any element a person selects can be read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ReferenceHost {

inline constexpr int ElementTypeCount = 34;

// The type's name ("Wall", "Camera set"); empty outside 0 to 33.
std::string_view ElementTypeNameOf(std::int32_t type);
// The type a name or a decimal number stands for (names compared without regard to case);
// nothing for any other text.
std::optional<std::int32_t> ElementTypeFromText(std::string_view text);

struct SelectionItemCode {
	std::int32_t itemCode = 0;
	std::int16_t subField = 0;
};

// The item code of the type; nothing for types that cannot be selected (0, 29 and 30).
std::optional<SelectionItemCode> SelectionItemCodeOf(std::int32_t type);
// The element type of an item code; nothing for a code the host does not know.
std::optional<std::int32_t> ElementTypeOfItemCode(std::int32_t itemCode);

// An element as a person names it: type name or number, a colon, the index ("Door:2").
struct ElementId {
	std::int32_t type = 0;
	std::int32_t index = 0;

	friend bool operator==(const ElementId&, const ElementId&) = default;
	friend auto operator<=>(const ElementId&, const ElementId&) = default;
};

std::optional<ElementId> ParseElementId(std::string_view text);
std::string ElementIdText(const ElementId& id);

} // namespace ReferenceHost
