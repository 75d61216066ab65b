#include "aids/ui/project_info_window.h"

#include "aids/display_length.h"
#include "cutting/cutting_session.h"
#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "base/app_context.h"
#include "base/ui/text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kerfline::ui {
namespace {

// The caption of the window that shows the project: the main window sets it with the mode's
// arm or wire tag, which the model does not keep.
std::string captionOf(const TMDIChild& project)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        QList<ProjectWindow*> windows = top->findChildren<ProjectWindow*>();
        if (auto* itself = qobject_cast<ProjectWindow*>(top))
            windows.append(itself);
        for (const ProjectWindow* window : windows)
            if (&window->model() == &project)
                return ss(window->windowTitle());
    }
    return {};
}

}  // namespace

ProjectInfoWindow::ProjectInfoWindow(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session)
{
    setObjectName("infoform");
    setWindowTitle(qs(withoutAccelerator(context.Text("Main_window", "info.Caption"))));
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    auto addRow = [&](int row, const std::string& caption, const char* name) {
        auto* label = new QLabel(qs(caption), this);
        auto* value = new QLabel(this);
        value->setObjectName(name);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        return value;
    };
    m_fname = addRow(0, context.Text("Info", "Labelfile.caption"), "fname");
    m_konfigname = addRow(1, context.Text("Info", "Labelkonf.caption"), "konfigname");
    m_szerokosc = addRow(2, context.Text("Info", "Labelszer.caption"), "szerokosc");
    m_wysokosc = addRow(3, context.Text("Info", "Labelwys.caption"), "wysokosc");
    m_totlen = addRow(4, context.Text("Info", "Labeldlug.caption"), "totlen");
    m_totalTime = addRow(5, context.Text("Info", "Labeltime.caption"), "total_time");
    // The fuller estimate, right under the described one.
    m_programTime = addRow(6, context.Text("Info", "LabelProgramTime.caption"), "programTime");
    m_programTimeCaption = qobject_cast<QLabel*>(grid->itemAtPosition(6, 0)->widget());
    m_kerf = addRow(7, context.Text("Info", "Labelkerf.caption"), "kerf");
    // Long paths wrap instead of widening the window past the screen.
    for (QLabel* path : {m_fname, m_konfigname}) {
        path->setWordWrap(true);
        path->setMinimumWidth(320);
    }
    grid->setColumnStretch(1, 1);
    // The note on a drawing's declared units, under the figures it explains.
    m_drawingUnits = new QLabel(this);
    m_drawingUnits->setObjectName("drawingUnits");
    m_drawingUnits->setWordWrap(true);
    m_drawingUnits->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_drawingUnits->hide();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(qs(context.Text("Info", "OK.caption")), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OK");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_drawingUnits);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ProjectInfoWindow::~ProjectInfoWindow() = default;

void ProjectInfoWindow::setProject(TMDIChild* project)
{
    m_project = project;
    m_caption = project != nullptr ? captionOf(*project) : std::string();
    if (project != nullptr)
        m_information.estimateProgram(*project);
    updateValues();
}

void ProjectInfoWindow::showFor(TMDIChild& project)
{
    setProject(&project);
    exec();
    m_project = nullptr;
}

void ProjectInfoWindow::updateValues()
{
    if (m_project == nullptr)
        return;
    m_information.update(*m_project, m_caption, m_context);
    // setText only when the text changes: an unchanged label must not schedule another paint.
    auto show = [](QLabel* label, const std::string& text) {
        if (label->text() != qs(text))
            label->setText(qs(text));
    };
    show(m_fname, m_information.fname);
    show(m_konfigname, m_information.konfigname);
    show(m_szerokosc, m_information.szerokosc);
    show(m_wysokosc, m_information.wysokosc);
    show(m_totlen, m_information.totlen);
    show(m_totalTime, m_information.total_time);
    show(m_programTime, m_information.programTime);
    m_programTime->setVisible(!m_information.programTime.empty());
    m_programTimeCaption->setVisible(!m_information.programTime.empty());
    show(m_kerf, m_information.kerf);
    show(m_drawingUnits, m_information.drawingUnits);
    if (m_drawingUnits->isHidden() != m_information.drawingUnits.empty())
        m_drawingUnits->setVisible(!m_information.drawingUnits.empty());
}

void ProjectInfoWindow::paintEvent(QPaintEvent* event)
{
    updateValues();
    QDialog::paintEvent(event);
}

}  // namespace kerfline::ui
