// Storage of the module-wide state.
#include "shell/ModuleState.hpp"

ModuleState& Module()
{
	static ModuleState state;
	return state;
}
