#pragma once

#include "model3d/serial_generator.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;

namespace kerfline {
struct AppContext;
}

namespace kerfline::ui {

class TRAWview;

// The serial generator window: a 3D model, its view and the passes to make. The generator in
// the core does the work; this window shows its state and forwards the operator's commands.
class TfGenSer : public QDialog {
    Q_OBJECT
public:
    TfGenSer(AppContext& context, model3d::PassWindows& windows, QWidget* parent = nullptr);
    ~TfGenSer() override;

    // Chooses the model file: the open dialog unless replaced (tests answer it).
    std::function<std::optional<std::string>()> chooseModelFile;

    void btnPlikRawClick();
    void btnGenerujClick();
    void btnAnulujClick();
    void btnModelInfoClick();

    model3d::SerialGenerator& generator() { return *m_generator; }
    TRAWview* RAWview1 = nullptr;
    QLineEdit* ePlik = nullptr;
    QPushButton* btnPlikRaw = nullptr;
    QPushButton* btnModelInfo = nullptr;
    QSpinBox* feIloscObrotow = nullptr;
    QCheckBox* cbOdcinajPoZakonczeniu = nullptr;
    QCheckBox* cbZamkniOknoAut = nullptr;
    QCheckBox* cbZostawZamknieteFig = nullptr;
    QPushButton* btnGeneruj = nullptr;
    QPushButton* btnAnuluj = nullptr;
    QStatusBar* sb = nullptr;
    QLabel* panels[2] = {nullptr, nullptr};
    QProgressBar* progress = nullptr;

    // The status panels of the generator (panel 0 and 1).
    void setStatus(int panel, const std::string& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void refresh();
    void takeSettings();

    AppContext& m_context;
    model3d::PassWindows& m_windows;
    std::unique_ptr<model3d::SerialGenerator> m_generator;
};

}  // namespace kerfline::ui
