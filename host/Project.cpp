// The project's identity as the host shows it.
#include "Project.hpp"

namespace ReferenceHost {

Project::Project(std::filesystem::path projectFile) : file(std::move(projectFile)) {}

std::string Project::Name() const { return HasFile() ? file.filename().string() : std::string("Untitled"); }

} // namespace ReferenceHost
