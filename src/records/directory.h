#pragma once

#include <string>

namespace orvex {

// Whether path names an existing directory (a file of that name is not one).
bool directoryExists(const std::string& path);

// CrearDirectorio: creates every missing level of path, "/" separating the levels (a
// trailing "/" is optional; levels that exist are passed over). Returns an empty text
// when path is a directory at the end, else why it is not: the system's description of
// the first level that could not be created.
std::string crearDirectorio(const std::string& path);

} // namespace orvex
