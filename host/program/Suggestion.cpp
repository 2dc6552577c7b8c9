// The nearest name by edit distance (insertions, deletions, substitutions and swaps of two
// neighbouring letters each count one).
#include "Suggestion.hpp"

#include <algorithm>
#include <cctype>
#include <limits>

namespace ReferenceHost {

namespace {

char Folded(char c)
{
	return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::size_t Distance(std::string_view a, std::string_view b)
{
	std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
	for (std::size_t i = 0; i <= a.size(); ++i)
		d[i][0] = i;
	for (std::size_t j = 0; j <= b.size(); ++j)
		d[0][j] = j;
	for (std::size_t i = 1; i <= a.size(); ++i)
		for (std::size_t j = 1; j <= b.size(); ++j) {
			const std::size_t cost = Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1;
			d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
			if (i > 1 && j > 1 && Folded(a[i - 1]) == Folded(b[j - 2]) && Folded(a[i - 2]) == Folded(b[j - 1]))
				d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
		}
	return d[a.size()][b.size()];
}

} // namespace

std::string NearestName(std::string_view word, const std::vector<std::string>& candidates)
{
	// A third of the word may be wrong, at least one letter and at most three.
	const std::size_t allowed = std::clamp<std::size_t>(word.size() / 3, 1, 3);
	std::size_t best = std::numeric_limits<std::size_t>::max();
	std::string nearest;
	for (const std::string& candidate : candidates) {
		const std::size_t distance = Distance(word, candidate);
		if (distance <= allowed && distance < best) {
			best = distance;
			nearest = candidate;
		}
	}
	return nearest;
}

std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates)
{
	const std::string nearest = NearestName(word, candidates);
	return nearest.empty() ? std::string() : " (did you mean \"" + nearest + "\"?)";
}

} // namespace ReferenceHost
