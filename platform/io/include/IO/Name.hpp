// IO::Name: one component of a file-system path (a file or folder name) with its extension,
// the text after the last dot. A leading dot starts a hidden name, not an extension.
#pragma once

#include "VX/String.hpp"

#include <string_view>

namespace IO {

class Name {
public:
	Name() = default;
	explicit Name(std::string_view nameText) : text(nameText) {}

	bool IsEmpty() const { return text.IsEmpty(); }
	const VX::String& ToString() const { return text; }

	// True when a dot follows the name's first character ("a.txt", "a."; not ".profile").
	bool HasExtension() const;
	// The text after the last dot; empty when there is no extension.
	VX::String GetExtension() const;
	// Removes the last dot and what follows it; a name without extension stays as it is.
	void DeleteExtension();
	// Appends a dot and the extension ("Facetally" + "txt" gives "Facetally.txt").
	void AppendExtension(std::string_view extension);

	friend bool operator==(const Name& a, const Name& b) { return a.text == b.text; }

private:
	VX::String text;
};

} // namespace IO
