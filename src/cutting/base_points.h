#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kerfline {

struct AppContext;

namespace machine {
class ControllerProtocol;
class MotionOperations;
}  // namespace machine

// A base point in millimetres.
struct BasePoint {
    double x = 0.0;
    double y = 0.0;
};

// "X=", the X value, "   Y=", the Y value: millimetres shown in the display unit with three
// decimals and the locale's separator, each padded on the left to 9 characters.
std::string formatBasePointLine(double xMm, double yMm, int displayUnit, char separator);

// The 9 characters after the first "X=" and after the first "Y=", read in the display unit that is
// current now (a point stored in millimetres and used in inches is taken as inches). Nothing when
// either does not read as a number.
std::optional<BasePoint> parseBasePointLine(const std::string& line, int displayUnit);

// The base points dialog's logic (TPunkty_bazowe without its widgets): the list of lines kept in
// "base.txt", the selection, and the go command.
class TPunkty_bazowe {
public:
    TPunkty_bazowe(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion);

    // Loads "base.txt" from the data directory when it exists; a file it cannot read is
    // reported and leaves the list empty.
    void FormCreate();
    // Saves the list to "base.txt", even an empty one; false (after the message) on failure.
    bool FormDestroy();

    void listaClick(int index);
    void DodajClick();
    void usunClick();
    // True when the dialog closes with OK.
    bool ustawClick();
    bool listaDblClick(int index);

    const std::vector<std::string>& lines() const { return m_lines; }
    int selected() const { return m_selected; }
    bool usunEnabled() const { return m_actionsEnabled; }
    bool ustawEnabled() const { return m_actionsEnabled; }

    std::string filePath() const;

private:
    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    machine::MotionOperations& m_motion;
    std::vector<std::string> m_lines;
    int m_selected = -1;
    bool m_actionsEnabled = false;
};

}  // namespace kerfline
