// IO::Location: where a file or folder is in the file system, built from a path text. A
// location may name something that does not exist yet (a file about to be created); its
// status only says whether it holds a usable path.
#pragma once

#include "IO/Name.hpp"
#include "IO/Status.hpp"

#include "VX/String.hpp"

#include <string_view>

namespace IO {

class Location {
public:
	// An empty location; its status is BadPath.
	Location() = default;
	// Separators at the end are dropped ("/a/b/" is "/a/b"); an empty text or one holding a
	// NUL byte gives a location with the status BadPath.
	explicit Location(std::string_view pathText);

	Status GetStatus() const;
	// Makes the location empty again.
	void Clear() { path.Clear(); }

	// The path as text; empty for an empty location.
	const VX::String& ToPath() const { return path; }

	// The last component ("Facetally.addon" of "/x/Facetally.addon"); NoName for "/" and
	// BadPath for an empty location, and name is then emptied.
	Status GetLastLocalName(Name* name) const;
	// Replaces the last component. A name that is empty, "." or "..", or holds a separator or
	// a NUL byte is refused with BadName and the location is left as it was.
	Status SetLastLocalName(const Name& name);
	// Adds a component at the end (descends into a folder); the same names are refused.
	Status AppendToLocal(const Name& name);
	// Removes the last component (goes up to the folder); NoName when there is none.
	Status DeleteLastLocalName();

	friend bool operator==(const Location& a, const Location& b) { return a.path == b.path; }

private:
	VX::String path;
};

} // namespace IO
