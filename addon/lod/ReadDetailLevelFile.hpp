// Reading the detail-level configuration file that lies beside the module (Facetally.txt for
// the module Facetally.<add-on extension>) into the add-on's DetailLevelTable.
#pragma once

namespace IO {
class Location;
}

// Empties the table and fills it from the file; a missing file is created empty and yields an
// empty table. A file that cannot be opened or read, and each line that lacks values, are
// reported in the error message dialog; nothing is ever written into the file.
void ReadDetailLevelFile();

// Where the configuration file of the module file at moduleLocation lies: the same folder and
// name with the extension "txt" in place of the host's add-on extension (compared without
// regard to case), or appended to a name without extension. False, out untouched, for a module
// file with any other extension or a location without a file name.
bool ConfigurationFileLocation(const IO::Location& moduleLocation, IO::Location& out);
