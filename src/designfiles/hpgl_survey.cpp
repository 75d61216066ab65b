#include "designfiles/hpgl_survey.h"

#include "designfiles/byte_reader.h"

#include <cctype>

namespace kerfline {

bool hpglHasLabels(const std::string& path)
{
    ByteReader file;
    if (file.open(path) != 0)
        return false;
    // A mnemonic starts where no letter stands before it: "PU0,0LB" and ";LB" both begin one.
    int before = ' ';
    int previous = ' ';
    for (int c = file.get(); c != ByteReader::kEnd; c = file.get()) {
        if (std::toupper(previous) == 'L' && std::toupper(c) == 'B' && !std::isalpha(before))
            return true;
        before = previous;
        previous = c;
    }
    return false;
}

}  // namespace kerfline
