// The Select command: selects in the host the elements behind the rows the user marked in the
// results list (a type row stands for every element of its type, a library-part row for every
// element placed from that part), as far as the filters of the palette admit them, and then
// brings the host to a view that shows them.
#pragma once

#include "DG/ListBox.hpp"

#include <cstdint>

void SelectCountedElements(const DG::ListBox& list, bool selectionOnly, bool allStories, std::int32_t firstStoryNumber,
	std::int32_t lastStoryNumber);
