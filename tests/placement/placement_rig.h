#pragma once

#include "placement/mixing.h"
#include "project/tmdichild.h"
#include "support/temp_dir.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace kerfline::testing {

// Two squares: the front one (pen 4) larger than the back one (pen 3), both about one centre.
inline const char* const kTwoSquares =
    "IN;SP4;PU0,0;PD8000,0,8000,8000,0,8000,0,0;PU;SP3;PU2000,2000;PD6000,2000,6000,6000,2000,6000,2000,2000;PU;";

// A wing section: a symmetric aerofoil of 300 mm chord in front (pen 4) and one of 200 mm chord
// behind (pen 3), 24 stations a side each.
inline std::string wingSection()
{
    const auto aerofoil = [](double chord, double x0, double y0, int pen) {
        std::vector<std::pair<double, double>> half;
        for (int i = 0; i <= 24; ++i) {
            const double x = (1 - std::cos(3.141592653589793 * i / 24)) / 2;
            const double t = 0.6 * chord *
                             (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
                              0.1036 * x * x * x * x);
            half.emplace_back(x * chord, t);
        }
        std::string hpgl = "SP" + std::to_string(pen) + ";PU";
        int count = 0;
        const auto add = [&](double x, double y) {
            hpgl += (count > 1 ? "," : "") + std::to_string(std::lround(x0 + x)) + "," +
                    std::to_string(std::lround(y0 + y));
            if (count++ == 0)
                hpgl += ";PD";
        };
        for (auto it = half.rbegin(); it != half.rend(); ++it)
            add(it->first, it->second);
        for (std::size_t i = 1; i < half.size(); ++i)
            add(half[i].first, -half[i].second);
        return hpgl + ";PU;";
    };
    return "IN;" + aerofoil(12000, 0, 2000, 4) + aerofoil(8000, 2000, 2000, 3);
}

// The three windows of the independent mode for one design: FRONT, BACK and the Mix.
struct IndependentWindows {
    std::unique_ptr<TMDIChild> front;
    std::unique_ptr<TMDIChild> back;
    std::unique_ptr<TMDIChild> mix;
    bool mixed = false;

    IndependentWindows(AppContext& context, const std::string& path)
        : front(std::make_unique<TMDIChild>(context)), back(std::make_unique<TMDIChild>(context)),
          mix(std::make_unique<TMDIChild>(context))
    {
        for (TMDIChild* window : {front.get(), back.get(), mix.get()})
            window->fileType = 1;
        front->Load(path, 4);
        back->Load(path, 3);
        mix->fileName = path;
        mixed = pomieszaj(*front, *back, *mix);
    }
};

}  // namespace kerfline::testing
