// Counting one element: its polygons, summed over the components of its 3D model, booked
// under its booking type and, for windows, doors, objects and lamps, under its library part.
// The first element of a library part in a run makes the part's row and finds its
// level-of-detail parameter; every element of a part with a row is brought to the part's
// wanted level before it is counted, so the polygons counted are those of that level.
#pragma once

#include "counting/CountResult.hpp"

#include "HostSdk/HostRecords.hpp"

#include <cstdint>

// The element record every run reuses for every element, allocated once for the add-on's
// lifetime. The run writes type and index; the host's element read fills the rest.
HostSdk::ElementRecord& SharedElementRecord();

// Counts the element the record describes (as the host's element read filled it) into
// result and answers its polygon count. An element whose type has no place among the 34
// booking types (a selection may hold any type the host names) is not counted and answers 0.
// Component counts below zero count as none, and a count too large for 32 bits is held at the
// largest 32-bit value.
std::int32_t CountElement(CountResult& result, HostSdk::ElementRecord& element);

// True when the element's group is one that keeps it from being edited: the group (an element
// of type 28) reads, its mode is 1 and its protection byte is set, and its memo's group data
// hold a second 32-bit word that is not 0. A group whose data are shorter than two words is
// not such a group. The memo is released in every case.
bool InQualifyingGroup(std::int32_t groupIndex);

// Whether the user asked not to be told again that a library part is missing; false from
// load, never stored.
bool MissingPartMessagesOff();
