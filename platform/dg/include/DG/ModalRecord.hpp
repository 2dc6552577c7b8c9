// The record of every modal dialog shown in this process, oldest first: its title, the texts
// a person reads in it in the order they read them (the static texts, then the check boxes and
// radio buttons, then the buttons; each group top to bottom, left to right),
// a text rendering as it was shown, and the response it was closed with. Tests read it; a host
// prints each dialog in its transcript through a listener.
#pragma once

#include "DG/Panel.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace DG {

struct ShownModalDialog {
	short resourceId = 0;
	std::string title;
	std::vector<std::string> texts;
	std::string rendering;
	bool closed = false;
	ModalDialog::ModalResponse response = ModalDialog::NoResponse;
};

class ModalRecordListener {
public:
	virtual ~ModalRecordListener();
	virtual void ModalDialogShown(const ShownModalDialog& dialog);
	virtual void ModalDialogClosed(const ShownModalDialog& dialog);
};

std::vector<ShownModalDialog> GetShownModalDialogs();
std::size_t GetShownModalDialogCount();
void ClearShownModalDialogs();
// Installs listener (null for none) and answers the one it replaces.
ModalRecordListener* SetModalRecordListener(ModalRecordListener* listener);

} // namespace DG
