// The transcript of a session: what a person at the host would see, in the order it happened
// (their own actions, the menus with their check marks, the report window's lines, messages,
// beeps), plus details of the host's inner traffic (add-on lifecycle, project events) that
// are printed only when asked for. Lines can be echoed as they come, so a person watching a
// long run sees it live; tests read the entries.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ReferenceHost {

enum class TranscriptKind {
	Action,   // what the person did: a script line, an option of the command line
	Notice,   // what the host tells the person: add-on loaded, project opened
	Menu,     // a menu item as the person sees it, with its check mark
	Report,   // a line of the report window
	Message,  // a message dialog's text
	Sound,    // a warning beep
	Progress, // the progress window opening, its range, stopped by the person, closing
	Error,    // something went wrong
	Detail,   // the host's inner traffic; shown only in verbose transcripts
};

struct TranscriptEntry {
	TranscriptKind kind;
	std::string text;
};

class Transcript {
public:
	void Add(TranscriptKind kind, std::string text);

	const std::vector<TranscriptEntry>& Entries() const { return entries; }
	// The texts of the entries of one kind, in order.
	std::vector<std::string> Texts(TranscriptKind kind) const;
	// True when some entry of the kind has exactly this text.
	bool Contains(TranscriptKind kind, std::string_view text) const;
	void Clear() { entries.clear(); }

	// Echoes every entry added from now on to the stream (null stops it); errors go to the
	// errors stream instead when one is given, so a person can keep them apart.
	void EchoTo(std::ostream* stream, bool verbose, std::ostream* errors = nullptr);
	// Called before and after each echoed line, so something drawn in place on the same stream
	// (a progress bar) can step aside for the line and come back below it. Empty ones: nothing.
	void SetEchoInterruption(std::function<void()> before, std::function<void()> after);
	// Leaves entries of the kind out of the echo from now on (they are kept all the same), or
	// echoes them again: a host that shows them otherwise, such as in a framed window.
	void HoldBackFromEcho(TranscriptKind kind, bool heldBack);

	// The whole transcript as printed lines; details only when verbose.
	void Print(std::ostream& out, bool verbose) const;
	std::string ToText(bool verbose) const;
	// One entry as printed.
	static std::string Format(const TranscriptEntry& entry);

private:
	std::vector<TranscriptEntry> entries;
	std::ostream* echo = nullptr;
	std::ostream* errorEcho = nullptr;
	bool echoVerbose = false;
	std::function<void()> beforeEcho;
	std::function<void()> afterEcho;
	std::vector<TranscriptKind> heldBackFromEcho;
};

} // namespace ReferenceHost
