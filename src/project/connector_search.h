#pragma once

#include "project/connection_rules.h"

#include <cstdint>
#include <memory>
#include <tuple>

namespace kerfline {

class TMDIChild;

// The pair of vertices a search chose: vertex vu of the unconnected figure u and vertex vc of
// the connected figure c. Searches keep the lowest cost; among equal costs the first in their
// scanning order (u, then c, then vu, then vc, all ascending), which is this ordering.
struct ConnectionChoice {
    ConnectionCost cost = kNoConnection;
    std::int32_t u = -1;
    std::int32_t c = -1;
    std::int32_t vu = 0;
    std::int32_t vc = 0;

    friend bool operator<(const ConnectionChoice& a, const ConnectionChoice& b)
    {
        return std::tie(a.cost, a.u, a.c, a.vu, a.vc) < std::tie(b.cost, b.u, b.c, b.vu, b.vc);
    }
    bool found() const { return u >= 0; }
};

// Repairs the chosen connector's crossings and links u through it.
void applyConnection(TMDIChild& project, ConnectionChoice choice);

// The four connector searches. Each finds the best pair under its rules, adds one connector
// and says whether it found a pair. Within one preparation the figures' levels, containers,
// vertex records and neighbour lists stay as they were when begin() ran.
class ConnectorSearch {
public:
    virtual ~ConnectorSearch() = default;
    virtual void begin(TMDIChild& project) = 0;
    virtual bool connectInside(TMDIChild& project, std::int32_t container) = 0;
    virtual bool connectInsideCorners(TMDIChild& project, std::int32_t container) = 0;
    virtual bool connectGlobalCorners(TMDIChild& project) = 0;
    virtual bool connectGlobal(TMDIChild& project) = 0;
};

// The searches the program uses: they keep, for every figure still to connect, its best pair
// so far and bring it up to date as figures join the tree, instead of scanning every pair of
// figures for every connector. They choose exactly what the full scans choose.
std::unique_ptr<ConnectorSearch> makeConnectorSearch();

}  // namespace kerfline
