#include "cutting/ui/base_points_dialog.h"

#include "cutting/cutting_session.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "config/dialog_rules.h"
#include "base/ui/buttons.h"
#include "base/ui/text.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kerfline::ui {

TPunkty_bazoweDialog::TPunkty_bazoweDialog(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session), m_logic(context, session.protocol, session.motion)
{
    setObjectName(QStringLiteral("Punkty_bazowe"));
    auto* layout = new QHBoxLayout(this);
    auto* listColumn = new QVBoxLayout;
    // The lines carry bare numbers, read in whatever unit is current when a point is used.
    m_unit = new QLabel(this);
    m_unit->setObjectName(QStringLiteral("unit"));
    listColumn->addWidget(m_unit);
    lista = new QListWidget(this);
    lista->setObjectName(QStringLiteral("lista"));
    // The lines are padded columns of numbers: a fixed-width font keeps them aligned.
    QFont font(QStringLiteral("monospace"));
    font.setStyleHint(QFont::Monospace);
    lista->setFont(font);
    lista->setMinimumWidth(lista->fontMetrics().horizontalAdvance(QStringLiteral("X=-00000.000   Y=-00000.000")) + 40);
    lista->setToolTip(qs(m_context.Text("Base_points", "lista.Hint")));
    listColumn->addWidget(lista, 1);
    layout->addLayout(listColumn, 1);

    auto* buttons = new QVBoxLayout;
    Dodaj = dialogButton(this, "Dodaj");
    usun = dialogButton(this, "usun");
    ustaw = dialogButton(this, "ustaw");
    anuluj = dialogButton(this, "anuluj");
    buttons->addWidget(Dodaj);
    buttons->addWidget(usun);
    buttons->addStretch(1);
    buttons->addWidget(ustaw);
    buttons->addWidget(anuluj);
    for (QPushButton* b : {Dodaj, usun, ustaw, anuluj})
        b->setMinimumWidth(96);
    layout->addLayout(buttons);

    connect(lista, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_logic.listaClick(lista->row(item));
        showButtons();
    });
    // The keyboard moves the selection as a click does.
    connect(lista, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != m_logic.selected()) {
            m_logic.listaClick(row);
            showButtons();
        }
    });
    connect(lista, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_logic.listaClick(lista->row(item));
        go(&TPunkty_bazowe::ustawClick);
    });
    connect(Dodaj, &QPushButton::clicked, this, [this] {
        m_logic.DodajClick();
        m_changed = true;
        showList();
    });
    connect(usun, &QPushButton::clicked, this, [this] {
        m_logic.usunClick();
        m_changed = true;
        showList();
    });
    connect(ustaw, &QPushButton::clicked, this, [this] { go(&TPunkty_bazowe::ustawClick); });
    connect(anuluj, &QPushButton::clicked, this, &QDialog::reject);

    m_logic.FormCreate();
    showList();
}

TPunkty_bazoweDialog::~TPunkty_bazoweDialog()
{
    m_logic.FormDestroy();
}

void TPunkty_bazoweDialog::showEvent(QShowEvent* event)
{
    setWindowTitle(qs(m_context.Text("Base_points", "caption")));
    anuluj->setText(qs(m_context.Text("Base_points", "anuluj.Caption")));
    ustaw->setText(qs(m_context.Text("Base_points", "ustaw.Caption")));
    Dodaj->setText(qs(m_context.Text("Base_points", "Dodaj.Caption")));
    usun->setText(qs(m_context.Text("Base_points", "usun.Caption")));
    m_unit->setText(qs(formatText(m_context.Text("Base_points", "jednostka"),
                                  {unitText(m_context.configuration.displayUnit)})));
    QDialog::showEvent(event);
}

void TPunkty_bazoweDialog::done(int result)
{
    QDialog::done(result);
    if (m_changed && m_logic.FormDestroy())
        m_changed = false;
}

void TPunkty_bazoweDialog::showList()
{
    const QSignalBlocker blocker(lista);
    lista->clear();
    for (const std::string& line : m_logic.lines())
        lista->addItem(qs(line));
    lista->setCurrentRow(m_logic.selected());
    showButtons();
}

void TPunkty_bazoweDialog::showButtons()
{
    usun->setEnabled(m_logic.usunEnabled());
    ustaw->setEnabled(m_logic.ustawEnabled());
}

void TPunkty_bazoweDialog::go(bool (TPunkty_bazowe::*action)())
{
    if ((m_logic.*action)())
        accept();
}

}  // namespace kerfline::ui
