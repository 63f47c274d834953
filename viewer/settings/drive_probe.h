#pragma once
// Whether files can be created where a path points, and fresh file names.

#include <string>

namespace tavrin {

// Probes the folder of the path (the path itself when it names a folder or
// ends with '/') by creating a fresh file exclusively and deleting it
// again. Never touches an existing file.
bool IsDriveWritable(const std::string& path);

// The name itself when nothing of that name exists; else the first free
// name-without-extension + "-1" + extension, "-2", ... up to "-999999";
// the name itself when all of those exist.
std::string MakeUniqueFileName(const std::string& name);

} // namespace tavrin
