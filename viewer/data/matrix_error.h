#pragma once
// Failures of reading data files and building matrices, with the texts the
// viewer shows.

#include <stdexcept>

namespace tavrin {

// The text of a rectangle that cannot form a matrix.
inline constexpr const char* kErrorCreatingArray = "Error creating variant array";

class MatrixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tavrin
