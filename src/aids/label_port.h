#pragma once

#include <string>
#include <string_view>

namespace kerfline {

class CommandLine;

// The label printer's serial port: /dev/ttyS0, or the device of "--label-port=DEVICE".
inline constexpr const char* kDefaultLabelPort = "/dev/ttyS0";
inline constexpr const char* kLabelPortOption = "--label-port";
std::string labelPort(const CommandLine& commandLine);

// Writes the bytes to the port. A terminal is opened without becoming the program's controlling
// terminal and without waiting for a carrier, and set to pass bytes unchanged (no CR LF
// translation, no flow control that could hold the label forever). The result is 0 when every
// byte was written, else the system's error code (ETIMEDOUT when the port took nothing for
// `stallMs`); a label half written is a failure.
int writeToLabelPort(const std::string& port, std::string_view bytes, int stallMs = 3000);

}  // namespace kerfline
