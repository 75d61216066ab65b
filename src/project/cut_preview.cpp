#include "project/cut_preview.h"

#include "project/tmdichild.h"

namespace kerfline {

CutPreview cutPreview(const TMDIChild& project, std::int32_t first, std::int32_t last)
{
    CutPreview preview;
    const auto count = project.figures.size();
    preview.figures.assign(count, false);
    if (first < 0 || static_cast<std::size_t>(first) >= count)
        return preview;
    std::vector<std::int32_t> pending{first};
    preview.figures[static_cast<std::size_t>(first)] = true;
    while (!pending.empty() && last != first) {
        const std::int32_t parent = pending.back();
        pending.pop_back();
        for (std::size_t i = 0; i < count; ++i) {
            const tfigura& figure = project.figures[i];
            if (!preview.figures[i] && figure.parent == parent && figure.unconnected == 0) {
                preview.figures[i] = true;
                pending.push_back(static_cast<std::int32_t>(i));
            }
        }
    }
    const tfigura& start = project.figures[static_cast<std::size_t>(first)];
    preview.startFigure = first;
    if (start.startVertex >= 0 && static_cast<std::size_t>(start.startVertex) < start.points.size())
        preview.startVertex = start.startVertex;
    if (!start.points.empty())
        preview.start = start.points[static_cast<std::size_t>(preview.startVertex)];
    return preview;
}

}  // namespace kerfline
