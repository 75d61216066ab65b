#pragma once

#include <QDialog>

#include <functional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace kerfline {
struct AppContext;
}  // namespace kerfline

namespace kerfline::ui {

// The kerf calibration: opens the test piece for cutting, takes its measured sizes, shows the
// kerf they give and stores it in the configuration on OK. The computation is
// kerfFromMeasurement's.
class KerfCalibrationDialog : public QDialog {
    Q_OBJECT
public:
    // `openPiece` opens the test piece as a project window.
    KerfCalibrationDialog(AppContext& context, std::function<void()> openPiece, QWidget* parent = nullptr);

    QDoubleSpinBox* outerField() const { return m_outer; }
    QDoubleSpinBox* innerField() const { return m_inner; }
    QLabel* resultLabel() const { return m_result; }
    QPushButton* okButton() const { return m_ok; }

private:
    void updateResult();
    void store();

    AppContext& m_context;
    QDoubleSpinBox* m_outer = nullptr;
    QDoubleSpinBox* m_inner = nullptr;
    QLabel* m_result = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace kerfline::ui
