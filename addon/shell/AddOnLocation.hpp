// The file-system location of the module file itself, from which the module finds the files
// that travel beside it (its configuration file).
#pragma once

#include "HostSdk/HostTypes.hpp"

namespace IO {
class Location;
}

// Copies the module file's location into out and answers 0; when that location cannot be
// built, clears out and answers 0x81060385. The location is built on the first call and
// kept for the life of the module.
HostSdk::HostStatus AddOnLocation(IO::Location& out);
