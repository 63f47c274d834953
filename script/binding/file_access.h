#pragma once
// Which files scripts may touch: every file routine of the library (string
// lists, streams, documents) and the units a script names ask here first.
// A host that runs scripts it does not trust (a fuzzer) narrows it for the
// process.

#include <string_view>

namespace script {

enum class TfsFileAccess { ReadWrite, ReadOnly, None };

TfsFileAccess FileAccess() noexcept;
void SetFileAccess(TfsFileAccess access) noexcept;
// Whether the access is allowed now.
bool FileAccessAllowed(bool write) noexcept;
// The run-time error "File access denied: NAME" when it is not.
void CheckFileAccess(bool write, std::string_view fileName);

} // namespace script
