#pragma once

#include <string>
#include <string_view>

namespace kerfline {

// Replaces the file at `path` by `bytes` as a whole: the bytes go to a new file in the same
// directory, which is then renamed over the old one, so a full disk or a crash leaves either
// the old file or the new one, never a truncated one. False when anything failed; the old file
// is then untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Copies the file `from` to `to` in the same way: `to` is either its old self or a whole copy.
// False when `from` cannot be read or anything else failed.
bool copyFileAtomically(const std::string& from, const std::string& to);

}  // namespace kerfline
