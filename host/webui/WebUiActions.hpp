// A person's actions from the page, carried out on the host: the host's own (choose a menu
// item, new, open, save, save as, close, quit, stop the running command, select an element
// from the 3D view) and those on a
// window of the dialog library, which go through DG::User exactly as a script's do. While a
// modal dialog is open only that dialog answers, as on a desktop.
#pragma once
#include "Host.hpp"

#include <nlohmann/json.hpp>

namespace ReferenceHost {

// The modal dialog a person must answer first; 0 when none is open.
struct ActionGate {
	short modalDialogId = 0;
};

// Why the action cannot be carried out as sent (an unknown verb, a field missing, of the
// wrong kind or out of range); empty when every field fits.
std::string CheckPageAction(const nlohmann::json& action);

// Carries out one action ({"do": "click", "panel": 3, "item": 2}, ...); the outcome says why
// it was refused. The stop of a running command is not here: it is taken while the command runs.
Outcome PerformPageAction(Host& host, const nlohmann::json& action, const ActionGate& gate);

// A short text naming the action for the transcript ("click item 2 of window 3").
std::string DescribePageAction(const nlohmann::json& action);

} // namespace ReferenceHost
