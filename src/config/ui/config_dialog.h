#pragma once

#include "config/dialog_rules.h"
#include "config/parameters.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QTimer;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;

namespace kerfline {
struct AppContext;
class Configuration;
struct ConfigFileResult;
class ProjectWindows;
namespace machine {
class ControllerProtocol;
}
}  // namespace kerfline

namespace kerfline::ui {

class TFloatEdit;
class TFloatEditU;

// The configuration dialog: its controls are bound to the configuration model of the context.
// exec() runs the activation, and OK, Cancel, Save as and Open as the operator chooses; the
// main window reads the model's flags afterwards.
class TDlgkonfig : public QDialog {
    Q_OBJECT
public:
    explicit TDlgkonfig(AppContext& context, QWidget* parent = nullptr);
    ~TDlgkonfig() override;

    // The project windows whose X feed sign follows the cutting direction.
    void setProjectWindows(ProjectWindows* windows) { m_windows = windows; }
    // Reads the machine parameters from the controller again; OK runs it after the calibration
    // changed, since the controller's resolution is where the calibration takes effect.
    void setRereadMachine(std::function<void()> reread) { m_rereadMachine = std::move(reread); }
    // The controller that "Take spindle/table XY" reads; none: those report no connection.
    void setProtocol(machine::ControllerProtocol* protocol) { m_protocol = protocol; }

    // The commands of the buttons; Save as and Open without their file dialogs. Each shows its
    // own failure.
    void Button1Click();
    bool saveAs(const std::string& path);
    bool open(const std::string& path);
    void takeAxisPositionClick(bool spindle);

    QTabWidget* PageControl1() const { return m_pages; }
    // The line under the pages that tells, for a moment, what leaving a field did to its text.
    QLabel* fieldNotice() const { return m_notice; }

    // Escape and the close box cancel like the Cancel button.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Configuration& model();

    // The widgets of a parameter's row, as the table describes it.
    struct Row {
        QWidget* control = nullptr;
        QLabel* caption = nullptr;  // numbers and scroll bars
        QLabel* unit = nullptr;
        QLabel* low = nullptr;  // scroll bars: the labels at the two ends
        QLabel* high = nullptr;
        QButtonGroup* group = nullptr;  // choices
    };
    Row& makeRow(Param p, QWidget* parent);
    // A number fills a row of the grid with its caption and unit; any other control spans the row.
    void addRows(DialogPlace place, QGridLayout* grid, QWidget* parent);
    void addRows(DialogPlace place, QBoxLayout* column, QWidget* parent);
    QWidget* widget(Control control) const;
    QLabel* label(const char* name, const TextKey& text, QWidget* parent);
    QPushButton* button(const char* name, const TextKey& text, QWidget* parent);

    QWidget* buildCuttingTab();
    QWidget* buildMachineTab();
    QWidget* buildSerialTab();
    QWidget* buildRotaryTab();
    QWidget* buildOtherTab();
    QWidget* buildBottom();

    // One binding per kind of control: the widget shows the model and hands the operator's
    // edits to it; the model's reactions come back through valueChanged().
    TFloatEdit* bindFloat(Param p, QWidget* parent);
    TFloatEditU* bindLength(Param p, QWidget* parent, int extraDecimals);
    QCheckBox* bindCheck(Param p, QWidget* parent);
    QGroupBox* bindChoice(Param p, QWidget* parent);
    QScrollBar* bindPosition(Param p, QWidget* parent);
    QRadioButton* bindRadio(Param p, QWidget* parent);

    void activate();
    void commitFields();
    void valueChanged(Param p);
    void showAll();
    void showState();
    void applyFeedSign();
    void showSchemePicture();
    void showFailure(const ConfigFileResult& result);
    void zapisClick();
    void OdczytClick();

    AppContext& m_context;
    ProjectWindows* m_windows = nullptr;
    std::function<void()> m_rereadMachine;
    machine::ControllerProtocol* m_protocol = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_serialTab = nullptr;
    QLabel* m_scheme = nullptr;
    QLabel* m_notice = nullptr;
    QTimer* m_noticeTimer = nullptr;
    std::array<Row, kParameterCount> m_rows{};
    std::array<std::function<void()>, kParameterCount> m_show{};
    std::vector<TFloatEditU*> m_lengthFields;
};

}  // namespace kerfline::ui
