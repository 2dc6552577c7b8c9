// Hooks for the preferences and the result data model at project events.
#include "shell/ProjectEventHooks.hpp"

#include "counting/CountResult.hpp"
#include "shell/ModuleState.hpp"
#include "shell/Preferences.hpp"

void WritePreferencesOnProjectSave()
{
	GetPreferences().WritePreferences();
}

void MarkStoredPreferencesNotLoaded()
{
	GetStoredPreferences().MarkNotLoaded();
}

void DestroyCurrentCountResult()
{
	delete Module().currentCountResult;
	Module().currentCountResult = nullptr;
}
