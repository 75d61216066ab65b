// libFuzzer target: any bytes as an HPGL plot file, read to the end. Besides crashes and
// sanitizer reports it traps on figures that break the importer's promises.
#include "figure_stream.h"

#include "designfiles/hpgl_survey.h"

#include <cstdint>
#include <string>

using kerfline::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = kerfline::fuzz::writeInput(data, size);

    kerfline::Thpgl importer;
    check(importer.OpenDesign(path, kerfline::kDesignHpgl) == 0);
    check(importer.endOfFile() == (size == 0));
    kerfline::fuzz::readToTheEnd(importer, false,
                                 [&](const kerfline::DesignError& error) { return error.offset < size; });
    importer.CloseDesign();
    // The look for labels reads the same bytes to their end.
    (void)kerfline::hpglHasLabels(path);
    return 0;
}
