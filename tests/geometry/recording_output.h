#pragma once

#include "geometry/curve_output.h"

#include <vector>

namespace kerfline::testing {

// Keeps every point a curve routine hands over, unconverted, with the output it went to.
class RecordingOutput : public CurveOutput {
public:
    struct Entry {
        RealPoint point;
        bool tested;
    };

    void addTested(RealPoint p) override { entries.push_back({p, true}); }
    void addPlain(RealPoint p) override { entries.push_back({p, false}); }

    std::vector<RealPoint> points() const
    {
        std::vector<RealPoint> result;
        for (const Entry& e : entries)
            result.push_back(e.point);
        return result;
    }
    std::vector<RealPoint> tested() const { return only(true); }
    std::vector<RealPoint> plain() const { return only(false); }

    std::vector<Entry> entries;

private:
    std::vector<RealPoint> only(bool tested) const
    {
        std::vector<RealPoint> result;
        for (const Entry& e : entries) {
            if (e.tested == tested)
                result.push_back(e.point);
        }
        return result;
    }
};

}  // namespace kerfline::testing
