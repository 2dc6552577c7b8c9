// The add-ons' modal dialogs at the host: the person who answers them, and what the transcript
// shows of them. While a host exists its queue of answers is the dialog library's user agent:
// each modal dialog an add-on shows takes the next queued answer (a test's code, or a
// script's steps: tick or untick a check box, press a button, press the close box). A dialog
// with no answer queued closes with Cancel, as a dialog nobody answers. The transcript shows
// each dialog's title and texts when it is shown, and (in detail) how it was closed.
#pragma once

#include "Transcript.hpp"

#include "DG/ModalRecord.hpp"
#include "DG/UserAgent.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace ReferenceHost {

struct DialogStep {
	enum class Kind { Tick, Untick, Press, Cancel };
	Kind kind = Kind::Press;
	// The check box's or button's label; empty for Cancel.
	std::string label;

	friend bool operator==(const DialogStep&, const DialogStep&) = default;
};

using DialogAnswer = std::vector<DialogStep>;

// Reads an answer from words: "ok" (press OK), "cancel" (the close box), "press LABEL",
// "tick LABEL", "untick LABEL", in the order they are taken. False with the problem when the
// words are not an answer.
bool ParseDialogAnswer(const std::vector<std::string>& words, DialogAnswer& answer, std::string& problem);

class ModalDialogs final : public DG::ModalRecordListener {
public:
	// Installs the queue of answers as the dialog library's user agent, and itself as the
	// listener of the record of dialogs.
	explicit ModalDialogs(Transcript& transcript);
	// Puts the agent and listener it replaced back.
	~ModalDialogs() override;
	ModalDialogs(const ModalDialogs&) = delete;
	ModalDialogs& operator=(const ModalDialogs&) = delete;

	// The answers still to come, in the order the dialogs will take them.
	DG::QueuedUserAgent& Answers() { return answers; }
	// Queues a person's steps as the answer to the next dialog without one. A step the dialog
	// refuses is reported in the transcript and the steps after it are still taken.
	void PlanAnswer(DialogAnswer answer);
	// Dialogs shown since the host started, and the steps that dialogs refused.
	std::size_t DialogsShown() const { return shown; }
	const std::vector<std::string>& RefusedSteps() const { return refused; }

	void ModalDialogShown(const DG::ShownModalDialog& dialog) override;
	void ModalDialogClosed(const DG::ShownModalDialog& dialog) override;

private:
	Transcript& transcript;
	DG::QueuedUserAgent answers;
	std::size_t shown = 0;
	std::vector<std::string> refused;
	DG::UserAgent* previousAgent;
	DG::ModalRecordListener* previousListener;
};

} // namespace ReferenceHost
