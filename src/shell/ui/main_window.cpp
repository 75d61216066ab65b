#include "shell/ui/main_window.h"

#include "shell/app_context.h"
#include "shell/caption.h"
#include "shell/switches.h"
#include "shell/ui/text.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include <array>

namespace kerfline::ui {
namespace {

// Where an item sits: a top-level menu (parent empty), an item of a menu, a hidden item that only
// keeps its shortcut, or a speed button.
enum class Place { TopMenu, Item, Hidden, Button };

struct ItemSpec {
    const char* name;
    TextKey text;
    const char* parent;
    Place place;
    const char* shortcut = "";
    bool separatorBefore = false;
};

// The menus in menu order; the order decides who takes a shortcut that two items share.
const std::array<ItemSpec, 30> kItems{{
    {"File1", TextKey{"Main_window", "File1.Caption"}, "", Place::TopMenu},
    {"FileOpenItem", TextKey{"Main_window", "FileOpenItem.Caption"}, "File1", Place::Item, "F3"},
    {"FileSaveAsHPGL", {nullptr, nullptr}, "File1", Place::Hidden, "F11"},
    {"FileSaveAsDXF", {nullptr, nullptr}, "File1", Place::Hidden, "F12"},
    {"FileCloseItem", TextKey{"Main_window", "FileCloseItem.Caption"}, "File1", Place::Item},
    {"miDuplikujPlt", TextKey{"Main_window", "miDuplikujPlt.Caption"}, "File1", Place::Item, "F4", true},
    {"miGenSeryjnego3D", TextKey{"Main_window", "miGenSeryjnego3D.caption"}, "File1", Place::Item, "F6"},
    {"miSaveSerial", TextKey{"Main_window", "miSaveSerial.Caption"}, "File1", Place::Item, "Shift+F6"},
    {"miZaginaczProfili", TextKey{"Main_window", "miZaginaczProfili.caption"}, "File1", Place::Item, "F7"},
    {"info", TextKey{"Main_window", "info.Caption"}, "File1", Place::Item, "", true},
    {"Symulacja", TextKey{"Main_window", "Symulacja.Caption"}, "File1", Place::Item, "F1"},
    {"About1", TextKey{"Main_window", "About1.Caption"}, "File1", Place::Item, "", true},
    {"miInstrObslugi", TextKey{"Main_window", "miInstrObslugi.Caption"}, "File1", Place::Item},
    {"miPrzyklady", TextKey{"Main_window", "miPrzyklady.Caption"}, "File1", Place::Item},
    {"miKatalog", TextKey{"Main_window", "miKatalog.Caption"}, "File1", Place::Item},
    {"FileExitItem", TextKey{"Main_window", "FileExitItem.Caption"}, "File1", Place::Item, "Alt+X", true},
    {"Cicie1", TextKey{"Main_window", "Cicie1.Caption"}, "", Place::TopMenu},
    {"Start1", TextKey{"Main_window", "Start1.Caption"}, "Cicie1", Place::Item, "F2"},
    {"Wstrzymaj1", TextKey{"Main_window", "Wstrzymaj1.Caption"}, "Cicie1", Place::Item, "Space"},
    {"Kontynuacja1", TextKey{"Main_window", "Kontynuacja1.Caption"}, "Cicie1", Place::Item, "Shift+F2"},
    {"sterowanie", TextKey{"Main_window", "sterowanie.Caption"}, "Cicie1", Place::Item, "F5", true},
    // F6 belongs to the serial generator, the earlier item; the configuration only shows it.
    {"Konfiguracja", TextKey{"Main_window", "Konfiguracja.Caption"}, "Cicie1", Place::Item, "(F6)"},
    {"Window1", TextKey{"Main_window", "Window1.Caption"}, "", Place::TopMenu},
    {"WindowCascadeItem", TextKey{"Main_window", "WindowCascadeItem.Caption"}, "Window1", Place::Item},
    {"WindowTileItem", TextKey{"Main_window", "WindowTileItem.Caption"}, "Window1", Place::Item},
    {"CloseAll", TextKey{"Main_window", "CloseAll.Caption"}, "Window1", Place::Item},
    {"OpenBtn", TextKey{"Main_window", "OpenBtn.Caption"}, "", Place::Button},
    {"SpeedSymulacja", TextKey{"Main_window", "SpeedSymulacja.Caption"}, "", Place::Button},
    {"SpeedStart", TextKey{"Main_window", "SpeedStart.Caption"}, "", Place::Button},
    {"SpeedStop", TextKey{"Main_window", "SpeedStop.Caption"}, "", Place::Button},
}};

// The speed button that continues a stopped job comes last on the bar.
const ItemSpec kContinueButton{"Skont", TextKey{"Main_window", "Skont.Caption"}, "", Place::Button};

// Items whose commands exist; the rest stay visible but disabled until they do.
bool commandExists(const std::string& name)
{
    static const std::array<const char*, 5> existing{
        "FileCloseItem", "FileExitItem", "WindowCascadeItem", "WindowTileItem", "CloseAll"};
    for (const char* e : existing)
        if (name == e)
            return true;
    return false;
}

}  // namespace

TMainForm::TMainForm(AppContext& context, QWidget* parent) : QMainWindow(parent), m_context(context)
{
    setObjectName("MainForm");
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("ClientArea");
    setCentralWidget(m_mdi);
    createActions();
    createMenus();
    createStatusBar();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
    ApplyTexts();
    UpdateMenuItems();
}

void TMainForm::createActions()
{
    auto make = [this](const ItemSpec& item) {
        auto* a = new QAction(this);
        a->setObjectName(item.name);
        const std::string shortcut = item.shortcut;
        if (!shortcut.empty() && shortcut.front() != '(')
            a->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
        m_actions[item.name] = a;
        // Hidden items are not in a menu but still belong to the window, so their keys work.
        if (item.place == Place::Hidden)
            addAction(a);
    };
    for (const ItemSpec& item : kItems)
        if (item.place != Place::TopMenu)
            make(item);
    make(kContinueButton);

    connect(action("FileExitItem"), &QAction::triggered, this, &QWidget::close);
    connect(action("FileCloseItem"), &QAction::triggered, this, [this] { m_mdi->closeActiveSubWindow(); });
    connect(action("WindowCascadeItem"), &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    connect(action("WindowTileItem"), &QAction::triggered, m_mdi, &QMdiArea::tileSubWindows);
    connect(action("CloseAll"), &QAction::triggered, this, &TMainForm::CloseAll);
}

void TMainForm::createMenus()
{
    for (const ItemSpec& item : kItems) {
        switch (item.place) {
        case Place::TopMenu: {
            QMenu* menu = menuBar()->addMenu(QString());
            menu->setObjectName(item.name);
            menu->menuAction()->setObjectName(item.name);
            m_menus[item.name] = menu;
            break;
        }
        case Place::Item: {
            QMenu* menu = m_menus.at(item.parent);
            if (item.separatorBefore)
                menu->addSeparator();
            menu->addAction(action(item.name));
            break;
        }
        case Place::Hidden:
        case Place::Button:
            break;
        }
    }

    m_buttons = addToolBar(QString());
    m_buttons->setObjectName("ButtonPanel");
    m_buttons->setMovable(false);
    m_buttons->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ItemSpec& item : kItems)
        if (item.place == Place::Button)
            m_buttons->addAction(action(item.name));
    m_buttons->addAction(action(kContinueButton.name));
}

void TMainForm::createStatusBar()
{
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusBar()->addWidget(m_panels[i], i == 0 ? 0 : 1);
    }
}

QAction* TMainForm::action(const std::string& name) const
{
    const auto it = m_actions.find(name);
    return it != m_actions.end() ? it->second : nullptr;
}

QLabel* TMainForm::statusPanel(int index) const
{
    return (index == 0 || index == 1) ? m_panels[index] : nullptr;
}

void TMainForm::ApplyTexts()
{
    setWindowTitle(qs(mainWindowCaption(m_context)));

    const tInterfejs& language = m_context.language;
    if (language.rightToLeft()) {
        qApp->setLayoutDirection(Qt::RightToLeft);
        setLayoutDirection(Qt::RightToLeft);
        // The top-level items change order as well as sides.
        QList<QAction*> top = menuBar()->actions();
        for (QAction* a : top)
            menuBar()->removeAction(a);
        for (auto it = top.rbegin(); it != top.rend(); ++it)
            menuBar()->addAction(*it);
        addToolBar(Qt::TopToolBarArea, m_buttons);
    }

    for (const ItemSpec& item : kItems) {
        if (item.text.section == nullptr)
            continue;
        QString text = qs(language.Text(item.text));
        if (item.place == Place::TopMenu) {
            m_menus.at(item.name)->setTitle(text);
            continue;
        }
        if (std::string(item.name) == "miKatalog")
            text = QStringLiteral("Quorvant ") + text;
        if (std::string(item.shortcut) == "(F6)")
            text += QStringLiteral("\tF6");
        action(item.name)->setText(text);
    }
    action(kContinueButton.name)->setText(qs(language.Text(kContinueButton.text)));
}

void TMainForm::UpdateMenuItems()
{
    const int n = static_cast<int>(m_mdi->subWindowList().size());
    const QMdiSubWindow* active = m_mdi->activeSubWindow();
    const bool activeIsDuplication =
        active != nullptr && active->windowTitle().endsWith(QStringLiteral(".dpl"), Qt::CaseInsensitive);

    static const std::array<const char*, 11> needsProject{
        "FileCloseItem", "FileSaveAsHPGL", "FileSaveAsDXF", "miZaginaczProfili", "info", "Symulacja",
        "Start1", "WindowCascadeItem", "WindowTileItem", "SpeedSymulacja", "SpeedStart"};
    const auto ruleAllows = [&](const std::string& name) {
        for (const char* p : needsProject)
            if (name == p)
                return n > 0;
        if (name == "miDuplikujPlt")
            return n > 0 && !activeIsDuplication;
        if (name == "miSaveSerial")
            return false;  // serial passes exist only in serial mode, which comes with the generator
        return true;
    };
    for (const auto& [name, a] : m_actions)
        a->setEnabled(commandExists(name) && ruleAllows(name));
    m_menus.at("Window1")->menuAction()->setEnabled(n > 0);

    // The documents are offered only when they are installed; none ships yet.
    for (const char* name : {"miInstrObslugi", "miPrzyklady", "miKatalog"})
        action(name)->setVisible(false);
}

void TMainForm::CloseAll()
{
    const auto windows = m_mdi->subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->close();
}

bool TMainForm::event(QEvent* event)
{
    // Hints of the control under the mouse go to the first panel.
    if (event->type() == QEvent::StatusTip) {
        m_panels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_panels[0]->setFixedWidth(firstStatusPanelWidth(statusBar()->width()));
}

void TMainForm::mousePressEvent(QMouseEvent* event)
{
    UpdateMenuItems();
    QMainWindow::mousePressEvent(event);
}

}  // namespace kerfline::ui
