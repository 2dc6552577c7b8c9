// Hooks for the preferences and the result data model at project events. Neither exists yet:
// no preferences are kept, so there is nothing to write or forget, and no counting run makes
// a count result, so the pointer is always none. The preferences and the counting code
// replace these bodies.
#include "shell/ProjectEventHooks.hpp"

#include "shell/ModuleState.hpp"

void WritePreferencesOnProjectSave()
{
}

void MarkStoredPreferencesNotLoaded()
{
}

void DestroyCurrentCountResult()
{
	Module().currentCountResult = nullptr;
}
