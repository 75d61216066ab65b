#pragma once

#include <string>

namespace kerfline {

class tInterfejs;

// The outcome of reading or writing one of the configuration files. Carries what the message
// needs: the file, and for a value that does not convert the line and the value.
struct ConfigFileResult {
    enum class Status { Ok, ReadFailed, WriteFailed, BadValue };

    Status status = Status::Ok;
    std::string path;
    int line = 0;        // BadValue: 1-based line of the file
    std::string value;   // BadValue: the value as read (shortened for the message)
    // Where the file's content is kept before the program first writes over it, when it did
    // not load cleanly; empty otherwise.
    std::string keptCopy;

    bool ok() const { return status == Status::Ok; }
};

// The operator's message for a failed result, from the language file; empty for success.
std::string messageFor(const ConfigFileResult& result, const tInterfejs& language);

}  // namespace kerfline
