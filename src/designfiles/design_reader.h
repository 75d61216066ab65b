#pragma once

#include "designfiles/byte_reader.h"
#include "designfiles/design_error.h"
#include "geometry/curve_flattening.h"
#include "geometry/figure.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kerfline {

// OpenDesign's results besides 0 and the system's error codes.
inline constexpr int kOpenWrongKind = -2;  // an EPS file that does not start with "%!PS"
inline constexpr int kOpenFileInUse = 32;  // another process holds the file open

// The reader of one design format. A reader serves one load: open, then nextFigure while
// !atEnd(). Ending each figure (extents, open state) and refusing reads after a fault are the
// importer's (Thpgl), the same for every format.
class DesignReader {
public:
    virtual ~DesignReader() = default;

    // 0, kOpenWrongKind, or the system's error code (errno) and no file is held.
    virtual int open(const std::string& path) = 0;
    // Fills the empty figure with the next figure of the file, or returns the fault that ends
    // the load.
    virtual ReadResult nextFigure(tfigura& figure) = 0;
    // True once the file holds no further figure.
    virtual bool atEnd() const = 0;
    // The width given to pen 1: the design's way of giving the project its rotation angle.
    virtual double angleValue() const { return 0.0; }
};

// The reader of a design kind (design_type.h); none for a kind nothing reads. A new format is
// one reader class and one line here.
std::unique_ptr<DesignReader> makeDesignReader(std::int32_t fileType, const CurveSettings& curveSettings);

// The file a reader reads, and the fault that ended its load.
struct DesignFile {
    std::string path;
    ByteReader bytes;
    std::optional<DesignError> fault;

    int open(const std::string& name)
    {
        path = name;
        return bytes.open(name);
    }
    // Records a fault at the byte reached (`line`, when not 0, names the line of a text format)
    // and returns false, so that a check reads `return ok || file.fail(...)`.
    bool fail(DesignError::Kind kind, std::string token = {}, std::uint64_t line = 0);
    // The system could not read the file on.
    ReadResult readFailure() const;
};

}  // namespace kerfline
