#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kerfline {
struct AppContext;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::ui {

class TFltEdit;
class TFltEditU;

// The serial dialog (TfDlgSeryjne): the rotation after each design of the series, how often the
// series is repeated and how far its start goes down each time. OK stores the answers only when
// every one of them is acceptable.
class TfDlgSeryjne : public QDialog {
    Q_OBJECT
public:
    TfDlgSeryjne(AppContext& context, std::vector<TMDIChild*> windows, QWidget* parent = nullptr);

    // Opens the numbered designs of a folder the operator picks as the series; their windows, or
    // nothing when no series was opened. Without it the dialog offers no folder.
    void setChooseFolder(std::function<std::optional<std::vector<TMDIChild*>>()> chooseFolder);
    // Reads the controller's status before the height check; none without a controller.
    std::function<void()> readStatus;

    void btnParDomyslneClick();
    void btnZatwierdzClick();
    void btnFolderClick();

    const std::vector<TMDIChild*>& windows() const { return m_windows; }

    QTableWidget* sgKatyObrotu = nullptr;
    TFltEdit* felloscPowtorzenSer = nullptr;
    TFltEditU* feuY_Przesuniecie = nullptr;
    QLabel* lPrzesuniecieUnit = nullptr;
    QPushButton* btnFolder = nullptr;
    QPushButton* btnParDomyslne = nullptr;
    QPushButton* btnZatwierdz = nullptr;
    QPushButton* btnAnuluj = nullptr;

private:
    // One row per window: its file name and the default angle.
    void fillRows();

    AppContext& m_context;
    std::vector<TMDIChild*> m_windows;
    std::function<std::optional<std::vector<TMDIChild*>>()> m_chooseFolder;
};

}  // namespace kerfline::ui
