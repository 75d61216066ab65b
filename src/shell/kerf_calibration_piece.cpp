#include "shell/kerf_calibration_piece.h"

#include "aids/kerf_calibration.h"
#include "designfiles/design_type.h"
#include "designfiles/hpgl_export.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "shell/design_opening.h"

#include <cstring>

namespace kerfline {

TMDIChild* openKerfCalibrationPiece(AppContext& context, OpeningHost& host)
{
    std::vector<tfigura> figures;
    for (std::vector<Point>& outline : kerfCalibrationOutlines()) {
        tfigura figure;
        figure.points = std::move(outline);
        figures.push_back(std::move(figure));
    }
    const std::string path = context.dataDirectory + "KerfCalibration.plt";
    if (const int code = WriteHpglFile(figures, path); code != 0) {
        context.language.ShowMessageBox(
            formatText(context.Text("Main_window", "bladZapisuEksportu"), {path, std::strerror(code)}), true);
        return nullptr;
    }
    TMDIChild& window = host.createWindow();
    window.keepDrawn = 1;
    window.fileType = designTypeOf(path);
    if (window.Load(path, 255) == LoadOutcome::Closed) {
        host.closeWindow(window);
        return nullptr;
    }
    host.setCaption(window, path);
    return &window;
}

}  // namespace kerfline
