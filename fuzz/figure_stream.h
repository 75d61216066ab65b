#pragma once

// What the design readers' fuzz targets share: the opened design is read to its end and every
// figure is held to the importer's promises; the format's own target says what a sound error is.
#include "designfiles/thpgl.h"
#include "fuzz_input.h"

namespace kerfline::fuzz {

// drawingPens: the DXF and EPS readers deliver only the pens their colours map to.
template <typename ErrorCheck>
void readToTheEnd(Thpgl& importer, bool drawingPens, ErrorCheck soundError)
{
    while (!importer.endOfFile()) {
        tfigura figure;
        const ReadResult result = importer.ReadFigure(figure);
        if (!result) {
            check(importer.endOfFile() && figure.valid == 0);
            check(soundError(*result.error));
            break;
        }
        check((figure.valid != 0) == !figure.points.empty());
        if (drawingPens)
            check(figure.pen == 0 || figure.pen == 1 || figure.pen == 3 || figure.pen == 4 || figure.pen == 6);
        for (const Point& p : figure.points)
            check(p.x >= figure.minX && p.x <= figure.maxX && p.y >= figure.minY && p.y <= figure.maxY);
    }
}

}  // namespace kerfline::fuzz
