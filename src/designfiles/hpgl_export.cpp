#include "designfiles/hpgl_export.h"

#include "designfiles/atomic_output.h"

#include <string_view>

namespace kerfline {
namespace {

void writePoint(AtomicOutput& out, std::string_view instruction, Point p)
{
    std::string line(instruction);
    line += std::to_string(p.x);
    line += ',';
    line += std::to_string(p.y);
    line += ";\r\n";
    out.write(line);
}

}  // namespace

int WriteHpglFile(std::span<const tfigura> figures, const std::string& path)
{
    AtomicOutput out;
    if (const int code = out.open(path); code != 0)
        return code;
    for (const tfigura& figure : figures) {
        if (figure.points.empty())
            continue;
        writePoint(out, "PA ", figure.points.front());
        for (std::size_t i = 1; i < figure.points.size(); ++i)
            writePoint(out, "PD ", figure.points[i]);
        out.write("PU;\r\n");
    }
    return out.commit();
}

}  // namespace kerfline
