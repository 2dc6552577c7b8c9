// A counting run: visits the elements the preferences' filters admit (the selection or the
// whole project, a story range or all stories), brings library-part elements to their wanted
// level of detail, counts the polygons of their 3D models into a fresh result, writes the
// report into the host's report window and makes the fresh result the current one.
//
// The user can stop a run in the progress window: the fresh result is then dropped, the one
// before stays current and no report is written; elements whose level of detail was already
// changed stay changed. The host's data record is overridden for exactly the span of the run.
#pragma once

// Reads the preferences' selection-only and all-stories flags, story numbers and default
// level of detail. A failure inside the run (memory running out) is treated as a stop, and
// the exception is passed on to the caller.
void CountingRun();
