// libFuzzer target: any bytes as an EPS or Illustrator file, read to the end. Besides crashes
// and sanitizer reports it traps on figures and errors that break the importer's promises.
#include "figure_stream.h"

#include <cstdint>
#include <string>

using kerfline::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = kerfline::fuzz::writeInput(data, size);

    kerfline::Thpgl importer;
    const int opened = importer.OpenDesign(path, kerfline::kDesignEps);
    check(opened == 0 || opened == kerfline::kOpenWrongKind);
    check(opened == 0 || importer.endOfFile());
    kerfline::fuzz::readToTheEnd(importer, true, [](const kerfline::DesignError& error) { return error.line >= 1; });
    check(importer.angleValue() == 0.0);
    importer.CloseDesign();
    return 0;
}
