// The elements a counting run or the Select command visits: the host's current selection, or
// every element of the types a run counts in the whole project (walls, columns, beams,
// windows, doors, objects, lamps, slabs, roofs, meshes and zones; stairs come in as objects).
// An ordered set without duplicates, by type and then index, read once when the list is made.
//
// The whole project is kept as one range of indexes per type (the host numbers each type's
// elements from 1 to its count), so a list of a million elements takes no memory per element;
// a selection keeps its elements, sorted, in one block.
#pragma once

#include "HostSdk/ElementTypes.hpp"
#include "HostSdk/HostRecords.hpp"

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <vector>

struct ElementRef {
	API_ElemTypeID type {};
	std::int32_t index = 0;

	friend auto operator<=>(const ElementRef&, const ElementRef&) = default;
};

class ElementList {
public:
	// With selectionOnly and something selected (and ignoreSelection false), the selected
	// elements of any type: each selected item is turned into an element type by the host, and
	// items it cannot turn are left out. Otherwise the whole project. The selection record is
	// read in either case; the handle the host leaves in it is released at once.
	ElementList(bool selectionOnly, bool ignoreSelection);
	ElementList(const ElementList&) = delete;
	ElementList& operator=(const ElementList&) = delete;

	// True when the selection is a marquee (kind 2 or more) that acts on the active story
	// only (byte 27 is 0).
	bool IsMarquee() const;
	// The selection record as read when the list was made (its handle already released).
	const HostSdk::SelectionRecord& SelectionRecord() const { return selection; }

	std::uint64_t Size() const;
	bool IsEmpty() const { return Size() == 0; }

	// Calls visit(ElementRef) in (type, index) order while it answers true; answers false when
	// the visit was stopped.
	template <typename Visit>
	bool ForEach(Visit&& visit) const
	{
		for (const ElementRef& element : selected)
			if (!visit(element))
				return false;
		for (std::size_t range = 0; range < rangeCount; ++range)
			// A 64-bit counter: a count of the largest 32-bit value must not wrap.
			for (std::int64_t index = 1; index <= ranges[range].count; ++index)
				if (!visit(ElementRef {ranges[range].type, static_cast<std::int32_t>(index)}))
					return false;
		return true;
	}

	// Gives back the memory of the selected elements; the list is empty afterwards.
	void Release();

private:
	struct TypeRange {
		API_ElemTypeID type {};
		std::int32_t count = 0;
	};
	// Types 1 to 10 and 17.
	static constexpr std::size_t ProjectTypeCount = 11;

	void ReadSelection(HostSdk::HandleId* items);
	void TakeSelectedItems(HostSdk::HandleId items);
	void TakeWholeProject();

	HostSdk::SelectionRecord selection {};
	std::vector<ElementRef> selected;
	std::array<TypeRange, ProjectTypeCount> ranges {};
	std::size_t rangeCount = 0;
};
