// What the preferences and the result data model do at the host's project events. The
// project event handler calls these at the events named; their work belongs to the
// preferences and to the counting code, which fill them in.
#pragma once

// Project events 8 and 128: the project is about to be saved; the preferences are written
// into the project's module data.
void WritePreferencesOnProjectSave();

// Project event 32: the project is closing; the stored preferences are marked not loaded,
// so the next project's module data are read at their next use.
void MarkStoredPreferencesNotLoaded();

// Project event 32 and ReleaseAddOn: destroys the current count result, if any, and sets
// its pointer to none.
void DestroyCurrentCountResult();
