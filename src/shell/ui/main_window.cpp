#include "shell/ui/main_window.h"

#include "config/parameters.h"
#include "cutting/cutting_session.h"
#include "shell/app_context.h"
#include "shell/caption.h"
#include "shell/design_opening.h"
#include "shell/documents.h"
#include "shell/main_window_rules.h"
#include "shell/ui/program_icon.h"
#include "base/switches.h"
#include "shell/ui/mdi_project_windows.h"
#include "base/ui/text.h"
#include "base/version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

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
const auto kItems = std::to_array<ItemSpec>({
    {"File1", TextKey{"Main_window", "File1.Caption"}, "", Place::TopMenu},
    {"FileOpenItem", TextKey{"Main_window", "FileOpenItem.Caption"}, "File1", Place::Item, "F3"},
    {"FileSaveAsHPGL", {nullptr, nullptr}, "File1", Place::Hidden, "F11"},
    {"FileSaveAsDXF", {nullptr, nullptr}, "File1", Place::Hidden, "F12"},
    {"FileCloseItem", TextKey{"Main_window", "FileCloseItem.Caption"}, "File1", Place::Item},
    {"miEksportGcode", TextKey{"Main_window", "miEksportGcode.Caption"}, "File1", Place::Item},
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
    // The barcode projects and the support page, offered in the file menu rather than in menus
    // of their own that the window would keep hidden.
    {"KodyKreskowePrzeglad", TextKey{"Barcode_projects", "KodyKreskowePrzeglad.Caption"}, "File1", Place::Item, "", true},
    {"KodyKreskoweZapis", TextKey{"Barcode_projects", "KodyKreskoweZapis.Caption"}, "File1", Place::Item},
    {"miZgloszenieBledu", TextKey{"Support_request", "miZgloszenieBledu.Caption"}, "File1", Place::Item},
    {"FileExitItem", TextKey{"Main_window", "FileExitItem.Caption"}, "File1", Place::Item, "Alt+X", true},
    {"Cicie1", TextKey{"Main_window", "Cicie1.Caption"}, "", Place::TopMenu},
    {"Start1", TextKey{"Main_window", "Start1.Caption"}, "Cicie1", Place::Item, "F2"},
    {"Wstrzymaj1", TextKey{"Main_window", "Wstrzymaj1.Caption"}, "Cicie1", Place::Item, "Space"},
    {"Kontynuacja1", TextKey{"Main_window", "Kontynuacja1.Caption"}, "Cicie1", Place::Item, "Shift+F2"},
    {"Tnijwybran1", TextKey{"Main_window", "Tnijwybran1.Caption"}, "Cicie1", Place::Item, "", true},
    {"Startodwybranej1", TextKey{"Main_window", "Startodwybranej1.Caption"}, "Cicie1", Place::Item},
    {"miCiecieSeryjne", TextKey{"Main_window", "miCiecieSeryjne.Caption"}, "Cicie1", Place::Item},
    {"sterowanie", TextKey{"Main_window", "sterowanie.Caption"}, "Cicie1", Place::Item, "F5", true},
    // F6 belongs to the serial generator, the earlier item; the configuration does not show a key
    // that would open something else.
    {"Konfiguracja", TextKey{"Main_window", "Konfiguracja.Caption"}, "Cicie1", Place::Item},
    {"miKalibracjaRzazu", TextKey{"Main_window", "miKalibracjaRzazu.Caption"}, "Cicie1", Place::Item},
    {"Window1", TextKey{"Main_window", "Window1.Caption"}, "", Place::TopMenu},
    {"WindowCascadeItem", TextKey{"Main_window", "WindowCascadeItem.Caption"}, "Window1", Place::Item},
    {"WindowTileItem", TextKey{"Main_window", "WindowTileItem.Caption"}, "Window1", Place::Item},
    {"CloseAll", TextKey{"Main_window", "CloseAll.Caption"}, "Window1", Place::Item},
    {"OpenBtn", TextKey{"Main_window", "OpenBtn.Caption"}, "", Place::Button},
    {"SpeedSymulacja", TextKey{"Main_window", "SpeedSymulacja.Caption"}, "", Place::Button},
    {"SpeedStart", TextKey{"Main_window", "SpeedStart.Caption"}, "", Place::Button},
    {"SpeedStop", TextKey{"Main_window", "SpeedStop.Caption"}, "", Place::Button},
});

// The speed button that continues a stopped job comes last on the bar.
const ItemSpec kContinueButton{"Skont", TextKey{"Main_window", "Skont.Caption"}, "", Place::Button};

}  // namespace

TMainForm::TMainForm(AppContext& context, QWidget* parent) : QMainWindow(parent), m_context(context)
{
    setObjectName("MainForm");
    // The program's windows, and its project windows without an icon of their own, show it.
    QApplication::setWindowIcon(programIcon());
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("ClientArea");
    setCentralWidget(m_mdi);
    createActions();
    createMenus();
    createStatusBar();
    m_projects = std::make_unique<MdiProjectWindows>(context, *m_mdi);
    m_opener = std::make_unique<DesignOpener>(context, *m_projects);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
    // Any form becoming active counts, also the main window coming back from a dialog or panel.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { UpdateMenuItems(); });
    connectCommands();
    // The Window menu lists the open project windows; choosing one brings it to the front.
    connect(m_menus.at("Window1"), &QMenu::aboutToShow, this, [this] { listWindows(); });
    ApplyTexts();
    UpdateMenuItems();
}

TMainForm::~TMainForm()
{
    // The project windows close with the area after the members are gone: nothing may call back.
    disconnect(m_mdi, nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
    m_projects->windowCreated = nullptr;
}

void TMainForm::attach(const MainFormParts& parts)
{
    m_parts = parts;
    UpdateMenuItems();
}

void TMainForm::createActions()
{
    auto make = [this](const ItemSpec& item) {
        auto* a = new QAction(this);
        a->setObjectName(item.name);
        if (item.shortcut[0] != '\0')
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
    // The notice of a newer version floats over the bar's right end; hidden until one is seen.
    m_updateButton = new QToolButton(statusBar());
    m_updateButton->setObjectName("UpdateButton");
    m_updateButton->setAutoRaise(true);
    m_updateButton->setStyleSheet(QStringLiteral("QToolButton { color: red; font-weight: bold; }"));
    m_updateButton->hide();
    connect(m_updateButton, &QToolButton::clicked, this, [this] {
        m_context.language.ShowMessageBox(updateNoticeMessage(m_context, m_latestVersion), false);
    });
}

void TMainForm::placeUpdateButton()
{
    const int height = statusBar()->height() - 2;
    m_updateButton->setGeometry(statusBar()->width() - 250 - 15, 2, 250, height);
    m_updateButton->raise();
}

void TMainForm::showUpdateNotice(const std::string& listing)
{
    const auto version = announcedVersion(listing, kProgramTitle);
    if (!version)
        return;
    m_latestVersion = *version;
    if (!isNewerVersion(m_latestVersion, kProgramVersion.full()))
        return;
    m_updateButton->setText(qs(m_context.Text("Universal", "nowaWerPrgDostepna")));
    placeUpdateButton();
    m_updateButton->show();
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
            text = documentPathsFor(m_context).dealerCataloguePresent()
                       ? qs(m_context.dealerEdition + " ") + text
                       : QStringLiteral("Quorvant ") + text;
        action(item.name)->setText(text);
    }
    action(kContinueButton.name)->setText(qs(language.Text(kContinueButton.text)));
}

void TMainForm::UpdateMenuItems()
{
    MenuFacts facts;
    facts.projectWindows = m_projects->windowCount();
    if (const QMdiSubWindow* active = m_mdi->currentSubWindow())
        facts.activeCaption = ss(active->widget()->windowTitle());
    facts.mode = m_context.configuration.choice(Param::Mode);
    const DocumentPaths documents = documentPathsFor(m_context);
    facts.manualPresent = documents.manualPresent();
    facts.samplesPresent = documents.samplesPresent();
    facts.cataloguePresent = documents.cataloguePresent();
    const MenuState state = menuState(facts);

    for (const auto& [name, enabled] : state.enabled) {
        if (name == "Window1")
            m_menus.at("Window1")->menuAction()->setEnabled(enabled);
        else
            action(name)->setEnabled(enabled);
    }
    for (const char* name : {"Tnijwybran1", "Startodwybranej1"})
        action(name)->setEnabled(facts.projectWindows > 0);
    for (const auto& [name, visible] : state.visible)
        action(name)->setVisible(visible);
}

void TMainForm::listWindows()
{
    QMenu* menu = m_menus.at("Window1");
    for (QAction* a : menu->actions())
        if (a->property("kerflineWindowEntry").toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow*> subs = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    QAction* separator = menu->addSeparator();
    separator->setProperty("kerflineWindowEntry", true);
    for (int i = 0; i < subs.size(); ++i) {
        QMdiSubWindow* sub = subs[i];
        // The first nine get their number as access letter.
        const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
        QString title = sub->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu->addAction(number + title);
        entry->setProperty("kerflineWindowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(sub == m_mdi->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, sub] {
            if (m_mdi->subWindowList().contains(sub)) {
                if (sub->isMinimized())
                    sub->showNormal();
                m_mdi->setActiveSubWindow(sub);
            }
        });
    }
}

void TMainForm::CloseAll()
{
    m_projects->CloseAll();
    UpdateMenuItems();
}

void TMainForm::Open(const std::string& initialDirectory, const std::string& fileName, bool rememberDirectory)
{
    m_opener->Open(initialDirectory, fileName, rememberDirectory);
    UpdateMenuItems();
}

ProjectWindow* TMainForm::projectWindowOf(const TMDIChild& model) const
{
    return m_projects->projectWindowOf(model);
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
    if (m_updateButton->isVisible())
        placeUpdateButton();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Closing during a transmission is refused unless the job was stopped; then the
    // transmission ends here, before the link goes with the session. A machine still cutting
    // what was sent is not left behind without a question.
    if (m_parts.session != nullptr && !mayCloseMainWindow(m_context, *m_parts.session)) {
        event->ignore();
        return;
    }
    event->accept();
}

void TMainForm::mousePressEvent(QMouseEvent* event)
{
    UpdateMenuItems();
    QMainWindow::mousePressEvent(event);
}

}  // namespace kerfline::ui
