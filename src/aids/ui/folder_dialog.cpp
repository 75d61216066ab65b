#include "aids/ui/folder_dialog.h"

#include "aids/folder_choice.h"
#include "base/app_context.h"
#include "base/ui/text.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace kerfline::ui {

TfDlgDir::TfDlgDir(AppContext& context, const std::string& title, const std::string& confirmCaption,
                   const std::string& initialFolder, const std::string& proposedName, QWidget* parent)
    : QDialog(parent), m_context(context), m_lastName(proposedName)
{
    setWindowTitle(qs(title));
    setMinimumSize(396, 391);
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    ShellTreeView1 = new QTreeView(this);
    ShellTreeView1->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        ShellTreeView1->hideColumn(column);
    ShellTreeView1->setHeaderHidden(true);
    ShellTreeView1->setRootIndex(m_model->index(QDir::rootPath()));
    ShellComboBox1 = new QComboBox(this);
    ShellComboBox1->setEditable(true);
    btnNewFolder = new QPushButton(qs(context.Text("SelectFolder", "btnNewFolder.caption")), this);
    btnAnuluj = new QPushButton(qs(context.Text("SelectFolder", "btnAnuluj.caption")), this);
    btnZapisz = new QPushButton(qs(confirmCaption), this);
    btnZapisz->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnNewFolder);
    buttons->addStretch();
    buttons->addWidget(btnZapisz);
    buttons->addWidget(btnAnuluj);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ShellComboBox1);
    layout->addWidget(ShellTreeView1, 1);
    layout->addLayout(buttons);

    askName = [this](const std::string& proposed) -> std::optional<std::string> {
        bool ok = false;
        const QString name = QInputDialog::getText(this, qs(m_context.Text("SelectFolder", "btnNewFolder.caption")),
                                                   qs(m_context.Text("SelectFolder", "WprowadzNazweFolderu") + " :"),
                                                   QLineEdit::Normal, qs(proposed), &ok);
        if (!ok)
            return std::nullopt;
        return ss(name);
    };

    connect(ShellTreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShellComboBox1->setEditText(m_model->filePath(current)); });
    connect(ShellComboBox1, &QComboBox::activated, this,
            [this] { selectFolder(ss(ShellComboBox1->currentText())); });
    connect(btnNewFolder, &QPushButton::clicked, this, [this] { btnNewFolderClick(); });
    connect(btnAnuluj, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnZapisz, &QPushButton::clicked, this, [this] { btnZapiszClick(); });
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);
    if (!initialFolder.empty())
        selectFolder(initialFolder);
}

std::string TfDlgDir::selectedFolder() const
{
    const QModelIndex current = ShellTreeView1->currentIndex();
    return current.isValid() ? ss(m_model->filePath(current)) : std::string();
}

void TfDlgDir::selectFolder(const std::string& path)
{
    const QModelIndex index = m_model->index(qs(path));
    if (!index.isValid())
        return;
    ShellTreeView1->setCurrentIndex(index);
    ShellTreeView1->expand(index);
    ShellTreeView1->scrollTo(index);
    ShellComboBox1->setEditText(qs(path));
}

void TfDlgDir::btnNewFolderClick()
{
    std::string name;
    for (;;) {
        const std::optional<std::string> answer = askName(m_lastName);
        if (!answer)
            return;
        name = *answer;
        m_lastName = name;
        if (validFolderName(name))
            break;
        m_context.language.ShowMessageBox(invalidFolderNameMessage(m_context.language, name), true);
    }
    const FolderOutcome outcome = createNewFolder(selectedFolder(), name, m_context.language);
    if (!outcome.ok()) {
        if (outcome.beep)
            QApplication::beep();
        m_context.language.ShowMessageBox(outcome.message, true);
        return;
    }
    selectFolder(outcome.path);
    btnZapisz->setFocus();
}

void TfDlgDir::btnZapiszClick()
{
    const FolderOutcome outcome = confirmFolder(selectedFolder(), m_context.language);
    if (!outcome.ok()) {
        m_context.language.ShowMessageBox(outcome.message, true);
        return;
    }
    m_folder = outcome.path;
    accept();
}

std::pair<bool, std::string> ChooseFolder(AppContext& context, const std::string& title,
                                          const std::string& confirmCaption, const std::string& initialFolder,
                                          const std::string& proposedName, QWidget* parent)
{
    TfDlgDir dialog(context, title, confirmCaption, initialFolder, proposedName, parent);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    return {confirmed, confirmed ? dialog.folder() : std::string()};
}

}  // namespace kerfline::ui
