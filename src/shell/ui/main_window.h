#pragma once

#include <QMainWindow>

#include <map>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace kerfline {
struct AppContext;
}

namespace kerfline::ui {

// The application shell: project windows in a multi-document area, menus, speed buttons and
// the status bar. The commands' behaviour lives in the core; this window forwards to it.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(AppContext& context, QWidget* parent = nullptr);

    // Caption, layout direction and every menu and button text, from the language file.
    void ApplyTexts();
    // Enable and visibility rules of the menu items.
    void UpdateMenuItems();
    void CloseAll();

    QAction* action(const std::string& name) const;
    QMdiArea* mdiArea() const { return m_mdi; }
    QLabel* statusPanel(int index) const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createStatusBar();

    AppContext& m_context;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_buttons = nullptr;
    QLabel* m_panels[2] = {nullptr, nullptr};
    std::map<std::string, QAction*> m_actions;
    std::map<std::string, QMenu*> m_menus;
};

}  // namespace kerfline::ui
