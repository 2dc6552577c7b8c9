// The module's help: the host's help folder, registered with the dialog library under the
// module's identity pair, so the module's dialogs find their help there.
#pragma once

// Asks the host for its help folder and registers it; failures of either step are ignored.
void RegisterHelpLocation();

// Takes the registration away again.
void UnregisterHelpLocation();
