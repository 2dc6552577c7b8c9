// The project a host session works on. For now a project is only its name and file path and
// whether it changed since it was last saved; project files are not read or written yet, so
// an empty project stands in for whatever file is named. The project model (stories,
// elements, library parts, selection, module data) grows here.
#pragma once

#include <filesystem>
#include <string>

namespace ReferenceHost {

class Project {
public:
	// An untitled, empty project.
	Project() = default;
	// The project of the file; empty until project files can be read.
	explicit Project(std::filesystem::path file);

	// The file's name, or "Untitled" for a project that was never saved.
	std::string Name() const;
	const std::filesystem::path& File() const { return file; }
	bool HasFile() const { return !file.empty(); }
	void SetFile(std::filesystem::path newFile) { file = std::move(newFile); }

	bool IsModified() const { return modified; }
	void MarkModified() { modified = true; }
	void MarkSaved() { modified = false; }

private:
	std::filesystem::path file;
	bool modified = false;
};

} // namespace ReferenceHost
