#include "project/tmdichild.h"

#include "base/round.h"
#include "project/connector_search.h"
#include "base/app_context.h"

#include <algorithm>

namespace kerfline {
namespace {

bool isInterruption(PendingInput input)
{
    return input == PendingInput::KeyDown || input == PendingInput::LeftButtonDown;
}

}  // namespace

bool TMDIChild::connectInside(std::int32_t container)
{
    if (!m_search)
        m_search = makeConnectorSearch();
    return m_search->connectInside(*this, container);
}

bool TMDIChild::connectInsideCorners(std::int32_t container)
{
    if (!m_search)
        m_search = makeConnectorSearch();
    return m_search->connectInsideCorners(*this, container);
}

bool TMDIChild::connectGlobalCorners()
{
    if (!m_search)
        m_search = makeConnectorSearch();
    return m_search->connectGlobalCorners(*this);
}

bool TMDIChild::connectGlobal()
{
    if (!m_search)
        m_search = makeConnectorSearch();
    return m_search->connectGlobal(*this);
}

bool TMDIChild::connectRemaining(ConnectorSearch& search)
{
    Host& host = m_context.host;
    const bool useNeighbours = figures.size() >= 21;
    if (useNeighbours)
        buildNeighbourLists();
    search.begin(*this);

    const auto start = static_cast<std::size_t>(startFigure);
    const bool startHasChildren = std::any_of(figures.begin(), figures.end(),
                                              [&](const tfigura& f) { return f.parent == startFigure; });
    if (figures[start].closed != 0 && !startHasChildren)
        connectEntry();
    propagateTouches();

    // Connected figures are counted once and then followed through the connection order; a
    // container forced onto the connected side during its own searches counts while it is.
    const auto baseConnected = static_cast<std::size_t>(
        std::count_if(figures.begin(), figures.end(), [](const tfigura& f) { return f.unconnected == 0; }));
    const std::size_t baseOrder = m_connectionOrder.size();
    std::size_t forced = 0;
    const auto connectedCount = [&] { return baseConnected + (m_connectionOrder.size() - baseOrder) + forced; };
    const auto reportProgress = [&] {
        const double share = 100.0 * static_cast<double>(connectedCount()) / static_cast<double>(figures.size());
        setStatusText("Ready " + std::to_string(roundHalfEven(share)) + "%");
    };
    const auto interrupted = [&] { return isInterruption(host.takePendingInput()); };

    for (std::int32_t level = maxNestLevel; level >= 0; --level) {
        for (std::size_t q = 0; q < figures.size(); ++q) {
            if (figures[q].nestLevel != level || figures[q].childCount <= 0)
                continue;
            const auto container = static_cast<std::int32_t>(q);
            const std::uint8_t saved = figures[q].unconnected;
            const auto force = [&] {
                forced = saved != 0 ? 1 : 0;
                figures[q].unconnected = 0;
            };
            // An interrupted search leaves no container marked as connected that is not.
            const auto restore = [&] {
                figures[q].unconnected = saved;
                forced = 0;
            };
            force();
            bool found = search.connectInside(*this, container);
            reportProgress();
            if (interrupted()) {
                restore();
                return false;
            }
            while (found) {
                found = figures[q].childCount > 20 ? search.connectInsideCorners(*this, container)
                                                   : search.connectInside(*this, container);
                reportProgress();
                force();
                if (interrupted()) {
                    restore();
                    return false;
                }
            }
            restore();
        }
    }

    while (true) {
        const bool found = useNeighbours ? search.connectGlobalCorners(*this) : search.connectGlobal(*this);
        reportProgress();
        if (interrupted())
            return false;
        if (found && figures.size() <= 9999)
            continue;
        bool extraFound = false;
        if (connectedCount() < figures.size() && figures.size() < 10000) {
            extraFound = search.connectGlobal(*this);
            reportProgress();
        }
        const PendingInput input = host.takePendingInput();
        if (connectedCount() == figures.size() || isInterruption(input))
            break;
        // A round that linked nothing would repeat itself for ever: the figures left have no
        // rule that reaches them.
        if (!found && !extraFound)
            break;
    }
    pathReady = 1;
    return true;
}

}  // namespace kerfline
