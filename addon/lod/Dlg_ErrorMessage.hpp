// The add-on's one message box: two lines of text beside an icon, an OK button and, when the
// caller wants it, a "Do not show again" check box. Invoke answers whether the box was ticked
// as OK was pressed, so the caller can stop repeating a message.
#pragma once

#include "DG/Item.hpp"
#include "DG/Observers.hpp"
#include "DG/Panel.hpp"

#include <cstdint>

class Dlg_ErrorMessage : public DG::ModalDialog, public DG::ButtonItemObserver, public DG::PanelObserver {
public:
	static constexpr short ResourceId = 128;

	// The two texts are items 1 and 2 of string list stringListId of the module's resources;
	// the check box is hidden unless showCheckBox.
	Dlg_ErrorMessage(std::int16_t stringListId, bool showCheckBox);
	// The first text is number in decimal, the second is text; the check box is shown.
	Dlg_ErrorMessage(std::int32_t number, const char* text);
	~Dlg_ErrorMessage() override;

private:
	void ButtonClicked(const DG::ButtonClickEvent& ev) override;
	void AttachObservers();

	DG::Button okButton;
	DG::IconItem icon;
	DG::LeftText firstText;
	DG::LeftText secondText;
	DG::CheckBox checkBox;
};
