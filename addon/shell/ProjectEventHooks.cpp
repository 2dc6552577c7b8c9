// Hooks for the preferences and the result data model at project events. The preferences
// do not exist yet: none are kept, so there is nothing to write or forget; the preferences
// code replaces those bodies.
#include "shell/ProjectEventHooks.hpp"

#include "counting/CountResult.hpp"
#include "shell/ModuleState.hpp"

void WritePreferencesOnProjectSave()
{
}

void MarkStoredPreferencesNotLoaded()
{
}

void DestroyCurrentCountResult()
{
	delete Module().currentCountResult;
	Module().currentCountResult = nullptr;
}
