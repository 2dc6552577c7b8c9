// Finding a library part's level-of-detail parameter and rewriting it on placed elements.
// When a counting run first meets a library part, DetectPartLod finds the part's text
// parameter that the configuration file names, works out which levels the part offers and
// which value text the wanted level stands for, and sets the part's row; for every element of
// the part ApplyPartLod then rewrites the element's parameter where it differs, before the
// element is counted, so the polygons counted are those of the level the user chose.
//
// Both talk to the host through records allocated once and reused; neither is re-entrant.
// What the host answers is not trusted: parameter lists are read by whole records, value
// lists by the texts their handle really holds, and no text is read past its field.
#pragma once

#include "counting/CountResult.hpp"

#include "HostSdk/HostRecords.hpp"

#include <cstdint>

// Sets lod and available of the part's row in result.partRows[bookingType] (which must
// exist) and the part's entries in lodParamNames, lodParamIndex and lodValueTexts.
//
// The row shows the wanted level (or "Custom" when none was chosen); a part whose
// parameters cannot be read, or that has no text parameter the configuration file names,
// keeps level 5. A value that occurs twice in one row of the file shows message 132. When the
// host cannot give the parameter's value list, no row of the file is taken: the part offers
// only "Custom" and "Default" and no value text is known, so its elements are left as they are.
void DetectPartLod(CountResult& result, long partIndex, API_ElemTypeID bookingType);

// Rewrites the element's level-of-detail parameter when it differs from the value of the
// part's wanted level; the part's row in result.partRows[bookingType] must exist. A change the
// host refuses shows message 133 and the run goes on.
//
// An element is left untouched when its part keeps its parameter ("Custom", or "Default" with
// the default "Custom"), when the level has no value text to write (the file's row gives none,
// or no row fitted), or when its parameters cannot be opened. An element whose list does not
// hold the parameter at the part's position, or is shorter than that, is given the value by
// the parameter's name.
void ApplyPartLod(CountResult& result, API_ElemTypeID bookingType, API_ElemTypeID elementType,
	std::int32_t elementIndex, long partIndex, HostSdk::ElementRecord& element);

// Whether the row offers the level: false for any code that is not a choice (0 to 4).
bool RowOffersLevel(const LibRow& row, std::int32_t code);
