#pragma once

#include <string>
#include <string_view>

namespace kerfline {

// A file written as a whole: the bytes go to a new file beside the target, which replaces the
// target only when everything was written, so a failure never leaves a half-written file and
// never touches the old one. Written through a buffer, so a large file needs no copy in memory.
class AtomicOutput {
public:
    AtomicOutput() = default;
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;
    // Removes the new file when commit() did not run or failed.
    ~AtomicOutput();

    // 0, or the system's error code when the new file cannot be created.
    int open(const std::string& path);
    void write(std::string_view bytes);
    // Writes what is buffered, makes it durable and renames the new file over the target: 0, or
    // the system's error code of the first failure.
    int commit();

private:
    void flush();

    std::string m_path;
    std::string m_temporary;
    std::string m_buffer;
    int m_fd = -1;
    int m_error = 0;
};

}  // namespace kerfline
