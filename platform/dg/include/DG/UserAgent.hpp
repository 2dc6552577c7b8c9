// The user agent: who answers modal dialogs. ModalDialog::Invoke hands the open dialog to the
// installed agent, which acts on it as a person would (through User) and normally closes it;
// with no agent installed, a modal dialog closes with Cancel at once. Hosts install an agent
// that follows their script; tests queue answers.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>

namespace DG {

class ModalDialog;
class User;

class UserAgent {
public:
	virtual ~UserAgent();
	virtual void ActOnModalDialog(ModalDialog& dialog) = 0;
};

// Installs agent (null for none) and answers the one it replaces.
UserAgent* SetUserAgent(UserAgent* agent);
UserAgent* GetUserAgent();

// Installs an agent for a scope and puts the previous one back.
class UserAgentScope {
public:
	explicit UserAgentScope(UserAgent& agent);
	~UserAgentScope();
	UserAgentScope(const UserAgentScope&) = delete;
	UserAgentScope& operator=(const UserAgentScope&) = delete;

private:
	UserAgent* previous;
};

// Answers modal dialogs in turn with queued answers; a dialog that finds the queue empty gets
// no answer (and closes with Cancel).
class QueuedUserAgent : public UserAgent {
public:
	using Answer = std::function<void(User& user)>;

	void Enqueue(Answer answer);
	std::size_t GetPendingCount() const { return answers.size(); }
	std::size_t GetAnsweredCount() const { return answered; }
	void ActOnModalDialog(ModalDialog& dialog) override;

private:
	std::deque<Answer> answers;
	std::size_t answered = 0;
};

} // namespace DG
