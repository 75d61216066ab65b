#pragma once

namespace kerfline {

struct AppContext;
class OpeningHost;
class TMDIChild;

// Opens the calibration test piece as a project window: the design is written as
// "KerfCalibration.plt" in the data directory and loaded like any design, but always cut as
// drawn, with a kerf of 0. Null when it could not be written or loaded (the message was shown).
TMDIChild* openKerfCalibrationPiece(AppContext& context, OpeningHost& host);

}  // namespace kerfline
