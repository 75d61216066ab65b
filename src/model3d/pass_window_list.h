#pragma once

#include "model3d/serial_generator.h"

#include <memory>
#include <string>
#include <vector>

namespace kerfline {
struct AppContext;
}

namespace kerfline::model3d {

// Pass windows held in a list, for the command-line tool and tests.
class PassWindowList : public PassWindows {
public:
    explicit PassWindowList(AppContext& context);
    ~PassWindowList() override;

    TMDIChild& createWindow() override;
    void setCaption(TMDIChild& window, const std::string& caption) override;
    void closeAll() override;
    void tile() override { ++tiles; }
    std::vector<TMDIChild*> windows() override;

    std::string caption(const TMDIChild& window) const;
    int tiles = 0;

private:
    struct Entry {
        std::unique_ptr<TMDIChild> window;
        std::string caption;
    };
    AppContext& m_context;
    std::vector<Entry> m_entries;
};

}  // namespace kerfline::model3d
