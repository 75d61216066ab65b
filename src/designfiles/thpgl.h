#pragma once

#include "designfiles/design_error.h"
#include "designfiles/design_reader.h"
#include "designfiles/design_type.h"
#include "geometry/curve_flattening.h"
#include "geometry/figure.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kerfline {

// The design importer: turns a design file into figures, one per ReadFigure call, through the
// reader of the design's format (design_reader.h). One object serves one load. Order of use:
// OpenDesign; ReadFigure while !endOfFile(); angleValue(); CloseDesign.
class Thpgl {
public:
    // The density of DXF curves and the display unit (CurveSettings::mmPerDrawingUnit) the
    // configuration gives; set before OpenDesign. The defaults are millimetres and the coarsest
    // curve step.
    void setCurveSettings(const CurveSettings& settings) { m_curveSettings = settings; }
    const CurveSettings& curveSettings() const { return m_curveSettings; }

    // 0 on success, otherwise the system's error code (errno) and no file is held. A fileType
    // the importer does not read opens nothing, returns 0 and reads as an empty design.
    int OpenDesign(const std::string& path, std::int32_t fileType);

    // Fills the empty figure with the next figure of the file. A figure with `valid` 0 holds
    // nothing and is to be discarded. A conversion or read error ends the load: the result
    // carries it, the figure is invalid and endOfFile() is true from then on.
    ReadResult ReadFigure(tfigura& figure);

    // Closes the design file; the design's values are gone with it.
    void CloseDesign() { m_reader.reset(); }

    // True once every figure of the file has been delivered (or the load failed).
    bool endOfFile() const { return m_failure || !m_reader || m_reader->atEnd(); }
    // The width given to pen 1: the design's way of giving the project its rotation angle.
    double angleValue() const { return m_reader ? m_reader->angleValue() : 0.0; }
    std::int32_t fileType() const { return m_fileType; }

private:
    std::int32_t m_fileType = kDesignUnknown;
    CurveSettings m_curveSettings;
    std::unique_ptr<DesignReader> m_reader;
    std::optional<DesignError> m_failure;  // the error that ended the load, repeated on later calls
};

}  // namespace kerfline
