#pragma once

#include "aids/barcode_label.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace kerfline {
struct AppContext;
}

namespace kerfline::ui {

class BarcodeImage;

// The barcode projects' browser (TfBarCodDlg): the stored numbers, and for the selected one its
// configuration file, designs and label lines, its symbol, its label and its A4 sheet.
class TfBarCodDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfBarCodDlg(AppContext& context, QWidget* parent = nullptr);

    // ShowBrowser: modal, with the number selected (empty: none).
    int ShowBrowser(const std::string& number);
    // Fills the list from the data directory and selects the number when it is there.
    void refill(const std::string& number);
    // The number selected, or empty.
    std::string selectedNumber() const;

    // The file dialogs; the desktop's unless replaced (tests answer them).
    std::function<std::optional<std::string>(const std::string& title, const std::string& directory,
                                             const QString& filter)>
        openDialog;
    std::function<std::optional<std::string>(const std::string& title, const std::string& initialName)> pdfDialog;

    void btnZapiszClick();
    void btnUsunPlikClick();
    void btnDrukujEtykieteClick();
    void btnDrukujPelneInfoClick();
    void sbDodajProjektClick();
    void sbUsunProjektClick();
    void sbPobierzSciezkeKonfigaClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionChanged();
    void showDefaultLines();
    void enableButtons();
    void edited();
    DefaultLabelLines defaultLines() const;
    OperatorLabelLines operatorLines() const;
    std::vector<std::string> designs() const;

    AppContext& m_context;
    QListWidget* m_codes = nullptr;
    QLineEdit* m_config = nullptr;
    QListWidget* m_designs = nullptr;
    std::array<QLineEdit*, 5> m_defaultLines{};
    std::array<QLineEdit*, 4> m_lines{};
    BarcodeImage* m_image = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_printLabel = nullptr;
    QPushButton* m_printSheet = nullptr;
    QToolButton* m_addDesign = nullptr;
    QToolButton* m_removeDesign = nullptr;
    QToolButton* m_chooseConfig = nullptr;
    bool m_filling = false;
};

}  // namespace kerfline::ui
