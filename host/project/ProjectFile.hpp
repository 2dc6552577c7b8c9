// Project files: the project model as JSON (docs/project-format.md). Reading checks the whole
// file before a project is made, so a bad file gives one clear message naming the file and
// the place (line and column for a syntax error, the JSON pointer of the value otherwise) and
// no half-read project. Writing goes to a temporary file beside the target that then takes
// its place, so a failed save leaves the old file as it was. Members the host does not know
// are read into the model and written back, so a round trip keeps them.
#pragma once

#include "Project.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace ReferenceHost {

inline constexpr std::string_view ProjectFormatName = "facetally-project";
inline constexpr int ProjectFormatVersion = 1;

// The project of the file, carrying the file's path; null with the reason in problem.
std::unique_ptr<Project> ReadProjectFile(const std::filesystem::path& file, std::string& problem);

// Whether the file holds a project of this format (however damaged its content), so that
// writing over it loses no other kind of file.
bool IsProjectFile(const std::filesystem::path& file);

// The project of a JSON text; fileName only names the text in messages. The project has no
// file.
std::unique_ptr<Project> ParseProjectText(std::string_view text, const std::string& fileName, std::string& problem);

// The project as the JSON text of a project file.
std::string ProjectText(const Project& project);

// Writes the project to the file (the project's own file is not changed); a symbolic link is
// followed, and its target written. False with the reason in problem; the file is then as it was.
bool WriteProjectFile(const Project& project, const std::filesystem::path& file, std::string& problem);

} // namespace ReferenceHost
