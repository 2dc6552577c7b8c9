// The installed user agent and the queued agent that tests and scripts use.
#include "DG/UserAgent.hpp"

#include "DG/Panel.hpp"
#include "DG/User.hpp"

#include <utility>

namespace DG {

namespace {
UserAgent* installedAgent = nullptr;
}

UserAgent::~UserAgent() = default;

UserAgent* SetUserAgent(UserAgent* agent)
{
	return std::exchange(installedAgent, agent);
}
UserAgent* GetUserAgent()
{
	return installedAgent;
}

UserAgentScope::UserAgentScope(UserAgent& agent) : previous(SetUserAgent(&agent))
{
}
UserAgentScope::~UserAgentScope()
{
	SetUserAgent(previous);
}

void QueuedUserAgent::Enqueue(Answer answer)
{
	answers.push_back(std::move(answer));
}

void QueuedUserAgent::ActOnModalDialog(ModalDialog& dialog)
{
	if (answers.empty())
		return;
	// Taken off the queue first: the answer may open another dialog, which takes the next one.
	Answer answer = std::move(answers.front());
	answers.pop_front();
	++answered;
	User user(dialog);
	if (answer)
		answer(user);
}

} // namespace DG
