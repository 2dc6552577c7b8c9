// The code and sub-field under which the host selects an element of a given type. Only the
// types an element can be wanted for (shown types and library-part types) need one; the
// host has no code for types 0, 27 to 30 and those above 32.
#pragma once

#include <cstdint>
#include <optional>

struct SelectionItemCode {
	std::int32_t code = 0;
	std::int16_t subField = 0;
};

// Nothing for a type without a code.
std::optional<SelectionItemCode> SelectionItemCodeOf(std::int32_t elementType);
