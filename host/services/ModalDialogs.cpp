// Answering modal dialogs with a person's steps, and the dialogs in the transcript.
#include "ModalDialogs.hpp"

#include "HostText.hpp"
#include "StatusText.hpp"

#include "DG/Keys.hpp"
#include "DG/ListBox.hpp"
#include "DG/Panel.hpp"
#include "DG/TextRendering.hpp"
#include "DG/User.hpp"

#include <cstdlib>
#include <limits>
#include <sstream>

#include <utility>

namespace ReferenceHost {

namespace {

std::string ResponseText(DG::ModalDialog::ModalResponse response)
{
	switch (response) {
	case DG::ModalDialog::Accept: return "accepted";
	case DG::ModalDialog::Cancel: return "cancelled";
	case DG::ModalDialog::NoResponse: break;
	}
	return "closed without a response";
}

// Clicks the first row, in the first list of the dialog that has one, showing the text in
// any of its fields.
DG::ActionResult ChooseListRow(DG::User& person, const std::string& text)
{
	const DG::Panel& panel = *person.GetPanel();
	for (short index = 1; index <= panel.GetItemCount(); ++index) {
		const DG::ItemKind kind = DG::Item(panel, index).GetKind();
		if (kind != DG::ItemKind::SingleSelList && kind != DG::ItemKind::MultiSelList)
			continue;
		const DG::SingleSelListBox single(panel, index);
		const DG::MultiSelListBox multiple(panel, index);
		const DG::ListBox& list =
			kind == DG::ItemKind::SingleSelList ? static_cast<const DG::ListBox&>(single) : multiple;
		for (short row = 1; row <= list.GetItemCount(); ++row)
			for (short field = 1; field <= list.GetTabFieldCount(); ++field)
				if (list.GetTabItemText(row, field) == text)
					return person.ClickListItem(index, row);
	}
	return DG::ActionResult::Refused("no list of the dialog has a row showing " + Quoted(text));
}

// An add-on that shows a host status as a signed decimal number shows what the host answered:
// its hexadecimal code and meaning follow it in the transcript.
std::string NamedStatus(const std::string& text)
{
	if (text.empty() || text.size() > 11 || text.find_first_not_of("-0123456789") != std::string::npos)
		return {};
	char* end = nullptr;
	const long long number = std::strtoll(text.c_str(), &end, 10);
	if (*end != '\0' || number < std::numeric_limits<HostSdk::HostStatus>::min() ||
		number > std::numeric_limits<HostSdk::HostStatus>::max())
		return {};
	const auto status = static_cast<HostSdk::HostStatus>(number);
	const std::string name = StatusName(status);
	return name.empty() ? std::string() : " (" + StatusText(status) + ": " + name + ")";
}

} // namespace

bool ParseDialogAnswer(const std::vector<std::string>& words, DialogAnswer& answer, std::string& problem)
{
	answer.clear();
	if (words.empty()) {
		problem = "an answer needs at least one step";
		return false;
	}
	for (std::size_t position = 0; position < words.size(); ++position) {
		const std::string& word = words[position];
		if (word == "ok") {
			answer.push_back({DialogStep::Kind::Press, "OK"});
		} else if (word == "cancel") {
			answer.push_back({DialogStep::Kind::Cancel, {}});
		} else if (word == "look") {
			answer.push_back({DialogStep::Kind::Look, {}});
		} else if (word == "key") {
			if (position + 1 == words.size() || DG::Key::FromName(words[position + 1].c_str()) == 0) {
				problem = "\"key\" needs the name of a key (Escape, Enter, A, ...)";
				return false;
			}
			answer.push_back({DialogStep::Kind::Key, words[++position]});
		} else if (word == "press" || word == "tick" || word == "untick" || word == "choose") {
			if (position + 1 == words.size()) {
				problem = Quoted(word) + " needs the label of what it acts on";
				return false;
			}
			const DialogStep::Kind kind = word == "press" ? DialogStep::Kind::Press
				: word == "tick"                          ? DialogStep::Kind::Tick
				: word == "choose"                        ? DialogStep::Kind::Choose
														  : DialogStep::Kind::Untick;
			answer.push_back({kind, words[++position]});
		} else {
			problem = Quoted(word) +
				" is no step of an answer (ok, cancel, press LABEL, tick LABEL, untick LABEL, choose TEXT, key NAME, "
				"look)";
			return false;
		}
	}
	return true;
}

ModalDialogs::ModalDialogs(Transcript& sessionTranscript)
	: transcript(sessionTranscript), previousAgent(DG::SetUserAgent(&answers)),
	  previousListener(DG::SetModalRecordListener(this))
{
}

ModalDialogs::~ModalDialogs()
{
	DG::SetUserAgent(previousAgent);
	DG::SetModalRecordListener(previousListener);
}

void ModalDialogs::PlanAnswer(DialogAnswer answer)
{
	answers.Enqueue([this, steps = std::move(answer)](DG::User& person) {
		for (const DialogStep& step : steps) {
			// A step may have closed the dialog (or the add-on deleted it); the rest is moot.
			const auto* dialog = dynamic_cast<const DG::ModalDialog*>(person.GetPanel());
			if (dialog == nullptr || !dialog->IsOpen())
				return;
			DG::ActionResult result = DG::ActionResult::Done();
			std::string what;
			switch (step.kind) {
			case DialogStep::Kind::Tick:
				what = "tick " + Quoted(step.label);
				result = person.SetCheck(step.label, true);
				break;
			case DialogStep::Kind::Untick:
				what = "untick " + Quoted(step.label);
				result = person.SetCheck(step.label, false);
				break;
			case DialogStep::Kind::Press:
				what = "press " + Quoted(step.label);
				result = person.Click(step.label);
				break;
			case DialogStep::Kind::Cancel:
				what = "press the close box";
				result = person.PressCloseBox();
				break;
			case DialogStep::Kind::Choose:
				what = "choose " + Quoted(step.label);
				result = ChooseListRow(person, step.label);
				break;
			case DialogStep::Kind::Key:
				what = "press the key " + step.label;
				result = person.PressKey(DG::Key::FromName(step.label.c_str()));
				break;
			case DialogStep::Kind::Look:
				std::istringstream drawn(DG::RenderText(*dialog));
				for (std::string line; std::getline(drawn, line);)
					transcript.Add(TranscriptKind::Notice, "  " + line);
				continue;
			}
			if (result) {
				transcript.Add(TranscriptKind::Action, "(in the dialog) " + what);
			} else {
				refused.push_back(what + ": " + result.GetProblem());
				transcript.Add(
					TranscriptKind::Error, "The dialog refused the step " + what + ": " + result.GetProblem());
			}
		}
	});
}

void ModalDialogs::ModalDialogShown(const DG::ShownModalDialog& dialog)
{
	++shown;
	std::string line = dialog.title;
	for (const std::string& text : dialog.texts) {
		// A text's own line ends would break the transcript's one line per thing seen: those
		// inside it become blanks, those at its end go.
		std::string shownText = text;
		while (!shownText.empty() && (shownText.back() == '\n' || shownText.back() == '\r'))
			shownText.pop_back();
		for (char& character : shownText)
			if (character == '\n' || character == '\r')
				character = ' ';
		line += " | " + shownText + NamedStatus(shownText);
	}
	transcript.Add(TranscriptKind::Message, line);
}

void ModalDialogs::ModalDialogClosed(const DG::ShownModalDialog& dialog)
{
	transcript.Add(TranscriptKind::Detail, "dialog " + Quoted(dialog.title) + " " + ResponseText(dialog.response));
}

} // namespace ReferenceHost
