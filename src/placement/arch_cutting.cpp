#include "placement/arch_cutting.h"

#include "geometry/geometry.h"
#include "base/round.h"
#include "geometry/segments.h"
#include "project/tmdichild.h"
#include "base/app_context.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kerfline {
namespace {

constexpr const char* kSection = "Arch_cutting";
// 0.4 degrees: a curve may turn back this little and still count as bending one way.
constexpr double kStraightEnough = 0.0069813170079773;
// The widest half notch: a turn near a half turn asks for more than plotter units hold.
constexpr std::int64_t kWidestHalfNotch = 1LL << 29;

double deviation(const std::vector<Point>& points, std::size_t middle)
{
    return nearestOnSegment(points[middle], {points[middle - 1], points[middle + 1]}).distance;
}

}  // namespace

CurveMeasures measureCurve(const std::vector<Point>& points)
{
    CurveMeasures m;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const std::int32_t length = roundHalfEven(distance(points[i], points[i + 1]));
        m.shortest = std::min(m.shortest, length);
        m.longest = std::max(m.longest, length);
    }
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const double d = deviation(points, i);
        if (d > 0.0)
            m.smallestDeviation = std::min(m.smallestDeviation, d);
        m.largestDeviation = std::max(m.largestDeviation, d);
    }
    return m;
}

std::vector<Point> thinCurve(std::vector<Point> points, int reductionRatio)
{
    const double limit = reductionRatio * measureCurve(points).smallestDeviation;
    std::size_t p = 0;
    while (p + 2 < points.size()) {
        if (limit > deviation(points, p + 1))
            points.erase(points.begin() + static_cast<std::ptrdiff_t>(p + 1));
        else
            ++p;
    }
    return points;
}

Strip unrollCurve(const std::vector<Point>& curve, std::int32_t depth)
{
    Strip strip;
    const auto clamp32 = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                                   std::numeric_limits<std::int32_t>::max()));
    };
    strip.points.push_back({0, depth});
    std::int64_t x = 0;
    // Where the strip so far is cut to: its start, then the farthest mouth of a notch. A notch
    // opening before it, or past the strip's end, makes the strip cross itself.
    std::int64_t reached = 0;
    for (std::size_t i = 0; i + 2 < curve.size(); ++i) {
        const Point a = curve[i];
        const Point b = curve[i + 1];
        const Point c = curve[i + 2];
        const double t = turnBetween(c, b, a);
        const std::int64_t h = x + roundHalfEven<std::int64_t>(distance(a, b));
        std::int64_t w = roundHalfEven<std::int64_t>(std::fabs(std::tan(t / 2) * depth));
        if (w > kWidestHalfNotch) {
            w = kWidestHalfNotch;
            strip.overlap = true;
        }
        strip.points.push_back({clamp32(h - w), depth});
        strip.points.push_back({clamp32(h), 0});
        strip.points.push_back({clamp32(h + w), depth});
        if (h - w < reached)
            strip.overlap = true;
        strip.notches.push_back({clamp32(h), clamp32(w), t});
        reached = std::max(reached, h + w);
        x = h;
    }
    if (curve.size() >= 3) {
        x += roundHalfEven<std::int64_t>(distance(curve[curve.size() - 2], curve.back()));
    } else {
        for (std::size_t i = 0; i + 1 < curve.size(); ++i)
            x += roundHalfEven<std::int64_t>(distance(curve[i], curve[i + 1]));
    }
    if (reached > x)
        strip.overlap = true;
    strip.points.push_back({clamp32(x), depth});
    return strip;
}

ArchRefusal archRefusal(const TMDIChild& source, double depthMm)
{
    if (!(depthMm > 0.0) || source.figures.empty() || source.figures[0].points.size() <= 2)
        return ArchRefusal::Depth;
    if (source.singleOpenFigure == 0)
        return ArchRefusal::NotASingleCurve;
    const std::vector<Point>& p = source.figures[0].points;
    const int sense = p.front().x < p.back().x ? 1 : -1;
    for (std::size_t i = 0; i + 2 < p.size(); ++i) {
        const double t = turnBetween(p[i + 2], p[i + 1], p[i]);
        if ((sense < 0 && t < -kStraightEnough) || (sense > 0 && t > kStraightEnough))
            return ArchRefusal::BendsBothWays;
    }
    return ArchRefusal::None;
}

ArchCutting::ArchCutting(TMDIChild& source) : m_source(source)
{
    if (!source.figures.empty())
        m_original = source.figures[0].points;
}

std::optional<bool> ArchCutting::Generate(double depthMm, int reductionRatio, TMDIChild& result)
{
    const AppContext& context = m_source.context();
    // The checks look at the curve as the dialog found it.
    if (!m_source.figures.empty())
        m_source.figures[0].points = m_original;
    refusal = archRefusal(m_source, depthMm);
    const auto refuse = [&](const char* key) {
        context.language.ShowMessageBox(context.Text(kSection, key) + "\n\n" + context.Text(kSection, "wymaganaKrzywa"),
                                        true);
    };
    switch (refusal) {
    case ArchRefusal::None: break;
    case ArchRefusal::Depth: return std::nullopt;
    case ArchRefusal::NotASingleCurve: refuse("projWieloelementNiedozwolony"); return std::nullopt;
    case ArchRefusal::BendsBothWays: refuse("niedozwolonaWypuklosc"); return std::nullopt;
    }

    const std::vector<Point> thinned = thinCurve(m_original, reductionRatio);
    // The source keeps the thinned curve; its vertex records, start and added figures follow it.
    std::erase_if(m_source.figures, [](const tfigura& f) { return f.isDesign == 0; });
    m_source.figures[0].points = thinned;
    m_source.licz_parametry(m_source.figures[0]);
    m_source.Ustaw_PPiPK();
    m_source.ciecie();

    const Strip strip = unrollCurve(thinned, mmToUnits(depthMm));
    result.figures.clear();
    tfigura figure;
    figure.sourceFigure = -1;
    figure.points = strip.points;
    result.fileType = m_source.fileType;
    result.AddFigure(std::move(figure));
    result.Ustaw_PPiPK();
    for (tfigura& f : result.figures) {
        f.originX = result.minX;
        f.originY = result.minY;
    }
    result.maxNestLevel = 0;
    result.selectedFigure = -1;
    result.ciecie();
    if (strip.overlap) {
        context.language.ShowMessageBox(context.Text(kSection, "bledneParametryDlaKrzywej") + "\n\n" +
                                            context.Text(kSection, "zmienParametry") + " '" +
                                            context.Text(kSection, "lSzerMat.caption") + "' ",
                                        true, context.Text(kSection, "caption") + " : " +
                                                  context.Text(kSection, "blednyPrzebieg"));
    }
    return strip.overlap;
}

}  // namespace kerfline
