#include "project/tmdichild.h"

#include <cmath>
#include <numbers>

namespace kerfline {
namespace {

// Turns sharper than 36 degrees make a vertex a corner.
constexpr double kCornerTurn = 0.6283185307179586;

void makeCorner(tfigura& figure, std::int32_t vertex, std::int32_t weight)
{
    if (vertex < 0 || static_cast<std::size_t>(vertex) >= figure.vertexInfo.size())
        return;
    VertexRecord& record = figure.vertexInfo[static_cast<std::size_t>(vertex)];
    if (record.isCorner != 0)
        return;
    record.isCorner = 1;
    record.weight = weight;
}

}  // namespace

void TMDIChild::classifyVertices()
{
    for (tfigura& figure : figures) {
        const std::int32_t sharpWeight = figure.nestLevel > 1 ? 5 : 6;
        for (VertexRecord& record : figure.vertexInfo) {
            if (std::fabs(record.turnAngle) < kCornerTurn && figure.closed != 0) {
                record.isCorner = 0;
                record.weight = 10;
            } else {
                record.isCorner = 1;
                record.weight = sharpWeight;
            }
        }
        makeCorner(figure, figure.minYVertex, 8);
        makeCorner(figure, figure.maxYVertex, 8);
        makeCorner(figure, figure.minXVertex, 9);
        makeCorner(figure, figure.maxXVertex, 9);
    }
    for (tfigura& figure : figures) {
        if (figure.open == 0)
            continue;
        for (VertexRecord& record : figure.vertexInfo) {
            record.isCorner = 1;
            record.weight = 5;
        }
    }
    // Long smooth contours still get evenly spread places to attach a connector.
    for (tfigura& figure : figures) {
        const std::size_t count = figure.vertexInfo.size();
        if (count <= 20)
            continue;
        const std::size_t step = count / 12 + 1;
        for (std::size_t v = 0; v < count; v += step)
            makeCorner(figure, static_cast<std::int32_t>(v), 10);
    }
}

}  // namespace kerfline
