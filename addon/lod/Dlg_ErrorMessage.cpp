// The message box of dialog resource 128: texts from a string list or a number and a text,
// and the answer "do not show again".
#include "lod/Dlg_ErrorMessage.hpp"

#include "shell/ModuleState.hpp"
#include "shell/ResourceModuleScope.hpp"

#include <cstdio>

namespace {
enum ItemNumber : short {
	OkButtonItem = 1,
	IconItemNumber = 2,
	FirstTextItem = 3,
	SecondTextItem = 4,
	CheckBoxItem = 5
};

// Every string-list text of the message passes through here, and the number's text through
// the second buffer: the dialog copies what it is given, so one of each serves all messages.
char stringBuffer[512];
char numberBuffer[16];
} // namespace

Dlg_ErrorMessage::Dlg_ErrorMessage(std::int16_t stringListId, bool showCheckBox)
	: DG::ModalDialog(Module().resourceModuleId, ResourceId), okButton(*this, OkButtonItem),
	  icon(*this, IconItemNumber), firstText(*this, FirstTextItem), secondText(*this, SecondTextItem),
	  checkBox(*this, CheckBoxItem)
{
	{
		ResourceModuleScope scope;
		if (!showCheckBox)
			checkBox.Hide();
		LoadResourceString(stringListId, 1, stringBuffer);
		firstText.SetText(stringBuffer);
		LoadResourceString(stringListId, 2, stringBuffer);
		secondText.SetText(stringBuffer);
	}
	AttachObservers();
}

Dlg_ErrorMessage::Dlg_ErrorMessage(std::int32_t number, const char* text)
	: DG::ModalDialog(Module().resourceModuleId, ResourceId), okButton(*this, OkButtonItem),
	  icon(*this, IconItemNumber), firstText(*this, FirstTextItem), secondText(*this, SecondTextItem),
	  checkBox(*this, CheckBoxItem)
{
	std::snprintf(numberBuffer, sizeof numberBuffer, "%d", static_cast<int>(number));
	firstText.SetText(numberBuffer);
	secondText.SetText(text != nullptr ? text : "");
	AttachObservers();
}

Dlg_ErrorMessage::~Dlg_ErrorMessage()
{
	okButton.Detach(*this);
	Detach(static_cast<DG::PanelObserver&>(*this));
}

void Dlg_ErrorMessage::AttachObservers()
{
	Attach(static_cast<DG::PanelObserver&>(*this));
	okButton.Attach(*this);
	okButton.Show();
}

void Dlg_ErrorMessage::ButtonClicked(const DG::ButtonClickEvent& ev)
{
	if (ev.GetSource() != &okButton)
		return;
	// A hidden box cannot be ticked, and is never taken as ticked.
	const bool doNotShowAgain = checkBox.IsVisible() && checkBox.IsChecked();
	PostCloseRequest(doNotShowAgain ? Accept : Cancel);
}
