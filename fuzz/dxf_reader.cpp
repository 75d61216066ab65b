// libFuzzer target: any bytes as a DXF drawing, read to the end and surveyed. The first byte chooses the
// display unit and the curve step, the rest is the file. Besides crashes and sanitizer reports it
// traps on figures and errors that break the importer's promises.
#include "figure_stream.h"

#include "designfiles/dxf_survey.h"

#include <cstdint>
#include <string>

using kerfline::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned choice = data[0];
    ++data;
    --size;
    const std::string& path = kerfline::fuzz::writeInput(data, size);

    kerfline::CurveSettings settings;
    static constexpr double kUnits[] = {1.0, 25.4, 304.8};
    settings.mmPerDrawingUnit = kUnits[choice % 3];
    settings.dxfCurveStep = (8 - static_cast<int>(choice / 3 % 8)) * 0.25;

    kerfline::Thpgl importer;
    importer.setCurveSettings(settings);
    check(importer.OpenDesign(path, kerfline::kDesignDxf) == 0);
    check(importer.endOfFile() == (size == 0));
    kerfline::fuzz::readToTheEnd(importer, true, [](const kerfline::DesignError& error) { return error.line >= 1; });
    check(importer.angleValue() == 0.0);
    importer.CloseDesign();

    // The survey of the same bytes stays bounded whatever they hold.
    const kerfline::DxfSurvey survey = kerfline::surveyDxf(path);
    check(survey.opened);
    check(survey.entityKinds.size() <= 64);
    return 0;
}
