// What tests of panel owners need from the dialog library: how many panels live, to show that
// none is left behind, and a way to make building panels from one dialog resource fail.
#pragma once

#include <cstddef>

namespace DG {

std::size_t LivePanelCount();
// Panels built from dialog resource id are not valid ("refused for testing") while refused.
void RefuseDialogResourceForTesting(short id, bool refused);

} // namespace DG
