// Printing the transcript: one line per entry, a short mark in front saying what kind of
// thing the person saw, so a transcript reads top to bottom like the session did.
#include "Transcript.hpp"

#include <algorithm>
#include <sstream>
#include <utility>

namespace ReferenceHost {

namespace {

const char* Mark(TranscriptKind kind)
{
	switch (kind) {
	case TranscriptKind::Action: return "> ";
	case TranscriptKind::Notice: return "";
	case TranscriptKind::Menu: return "menu    ";
	case TranscriptKind::Report: return "report  | ";
	case TranscriptKind::Message: return "message ";
	case TranscriptKind::Sound: return "sound   ";
	case TranscriptKind::Progress: return "progress ";
	case TranscriptKind::Error: return "error   ";
	case TranscriptKind::Detail: return "  . ";
	}
	return "";
}

bool Shown(TranscriptKind kind, bool verbose)
{
	return verbose || kind != TranscriptKind::Detail;
}

} // namespace

void Transcript::Add(TranscriptKind kind, std::string text)
{
	entries.push_back({kind, std::move(text)});
	if (echo != nullptr && Shown(kind, echoVerbose) &&
		std::find(heldBackFromEcho.begin(), heldBackFromEcho.end(), kind) == heldBackFromEcho.end()) {
		if (beforeEcho)
			beforeEcho();
		std::ostream& stream = kind == TranscriptKind::Error && errorEcho != nullptr ? *errorEcho : *echo;
		stream << Format(entries.back()) << '\n' << std::flush;
		if (afterEcho)
			afterEcho();
	}
}

void Transcript::SetEchoInterruption(std::function<void()> before, std::function<void()> after)
{
	beforeEcho = std::move(before);
	afterEcho = std::move(after);
}

std::vector<std::string> Transcript::Texts(TranscriptKind kind) const
{
	std::vector<std::string> texts;
	for (const TranscriptEntry& entry : entries)
		if (entry.kind == kind)
			texts.push_back(entry.text);
	return texts;
}

bool Transcript::Contains(TranscriptKind kind, std::string_view text) const
{
	for (const TranscriptEntry& entry : entries)
		if (entry.kind == kind && entry.text == text)
			return true;
	return false;
}

void Transcript::EchoTo(std::ostream* stream, bool verbose, std::ostream* errors)
{
	echo = stream;
	errorEcho = errors;
	echoVerbose = verbose;
}

void Transcript::HoldBackFromEcho(TranscriptKind kind, bool heldBack)
{
	std::erase(heldBackFromEcho, kind);
	if (heldBack)
		heldBackFromEcho.push_back(kind);
}

void Transcript::Print(std::ostream& out, bool verbose) const
{
	for (const TranscriptEntry& entry : entries)
		if (Shown(entry.kind, verbose))
			out << Format(entry) << '\n';
}

std::string Transcript::ToText(bool verbose) const
{
	std::ostringstream out;
	Print(out, verbose);
	return out.str();
}

std::string Transcript::Format(const TranscriptEntry& entry)
{
	return Mark(entry.kind) + entry.text;
}

} // namespace ReferenceHost
