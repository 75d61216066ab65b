#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace kerfline {
struct AppContext;
}

namespace kerfline::ui {

// The folder dialog: a tree of folders only, a path box above it, and buttons to make a new
// folder, cancel and confirm. Confirming takes only an existing folder.
class TfDlgDir : public QDialog {
    Q_OBJECT
public:
    TfDlgDir(AppContext& context, const std::string& title, const std::string& confirmCaption,
             const std::string& initialFolder, const std::string& proposedName, QWidget* parent = nullptr);

    // The folder chosen; empty until confirmed.
    const std::string& folder() const { return m_folder; }
    std::string selectedFolder() const;
    void selectFolder(const std::string& path);

    void btnNewFolderClick();
    void btnZapiszClick();

    // Asks for a name (the input box unless replaced: tests answer it); nothing on cancel.
    std::function<std::optional<std::string>(const std::string& proposed)> askName;

    QTreeView* ShellTreeView1 = nullptr;
    QComboBox* ShellComboBox1 = nullptr;
    QPushButton* btnNewFolder = nullptr;
    QPushButton* btnAnuluj = nullptr;
    QPushButton* btnZapisz = nullptr;

private:
    AppContext& m_context;
    QFileSystemModel* m_model = nullptr;
    std::string m_folder;
    std::string m_lastName;
};

// Shows the folder dialog modally: (confirmed, folder).
std::pair<bool, std::string> ChooseFolder(AppContext& context, const std::string& title,
                                          const std::string& confirmCaption, const std::string& initialFolder,
                                          const std::string& proposedName, QWidget* parent = nullptr);

}  // namespace kerfline::ui
