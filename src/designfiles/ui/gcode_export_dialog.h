#pragma once

#include "designfiles/gcode_settings_file.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;

namespace kerfline {
class tInterfejs;
}  // namespace kerfline

namespace kerfline::ui {

// File › Export G-code…: the controller profile, the axis letters, the feed mode, the heat power
// scale and the file. Choosing a profile takes its own letters and scale; Marlin has no G93.
class GcodeExportDialog : public QDialog {
    Q_OBJECT
public:
    GcodeExportDialog(const tInterfejs& language, const GcodeExportSettings& settings, QWidget* parent = nullptr);

    // The choices as they stand.
    GcodeExportSettings settings() const;

    // Asks for the file to write, starting at the given path; the desktop's save dialog unless a
    // test replaces it.
    std::function<std::optional<std::string>(const std::string& start)> chooseFile;

private:
    void profileChosen();
    void showState();

    const tInterfejs& m_language;
    QComboBox* m_profile = nullptr;
    QComboBox* m_axes = nullptr;
    QComboBox* m_feed = nullptr;
    QDoubleSpinBox* m_heatScale = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_export = nullptr;
};

}  // namespace kerfline::ui
