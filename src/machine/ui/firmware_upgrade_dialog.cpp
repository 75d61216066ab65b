#include "machine/ui/firmware_upgrade_dialog.h"

#include "cutting/cutting_session.h"
#include "machine/firmware_upgrade.h"
#include "base/app_context.h"
#include "base/ui/text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace kerfline::ui {

TUpgradeProgramForm::TUpgradeProgramForm(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session),
      m_upgrade(std::make_unique<machine::FirmwareUpgrade>(session.protocol, session.link))
{
    setObjectName("UpgradeProgramForm");
    setWindowTitle(qs(context.Text("Upgrade_firmware", "Caption")));
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);

    auto* versions = new QFormLayout;
    m_actualDeviceVer = new QLabel(this);
    m_actualDeviceVer->setObjectName("ActualDeviceVer");
    m_newVerFromFile = new QLabel(this);
    m_newVerFromFile->setObjectName("NewVerFromFile");
    versions->addRow(qs(context.Text("Upgrade_firmware", "LabelActual.caption")), m_actualDeviceVer);
    versions->addRow(qs(context.Text("Upgrade_firmware", "LabelNew.caption")), m_newVerFromFile);

    auto* operations = new QHBoxLayout;
    const char* operationKeys[3] = {"Kasowanie", "Zapis", "Weryfikacja"};
    for (int i = 0; i < 3; ++i) {
        m_operations[i] = new QCheckBox(qs(context.Text("Upgrade_firmware", operationKeys[i])), this);
        m_operations[i]->setObjectName(QString("operation%1").arg(i));
        // The ticks show progress; the operator does not set them.
        m_operations[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_operations[i]->setFocusPolicy(Qt::NoFocus);
        operations->addWidget(m_operations[i]);
    }
    operations->addStretch();

    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName("Gauge");
    m_gauge->setRange(0, 100);
    m_verifyPanel = new QLabel(this);
    m_verifyPanel->setObjectName("VerifyPanel");
    m_verifyPanel->setWordWrap(true);
    m_verifyPanel->setMinimumHeight(fontMetrics().height() * 2);

    m_buttonUpgrade = new QPushButton(qs(context.Text("Upgrade_firmware", "ButtonUpgrade.caption")), this);
    m_buttonUpgrade->setObjectName("ButtonUpgrade");
    m_buttonUpgrade->setAutoDefault(false);
    connect(m_buttonUpgrade, &QPushButton::clicked, this, [this] { ButtonUpgradeClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_buttonUpgrade);

    // The service panel: the single steps, for the maker's service people.
    auto* service = new QGroupBox(qs(context.Text("Upgrade_firmware", "pSerwisowy.caption")), this);
    m_pSerwisowy = service;
    m_pSerwisowy->setObjectName("pSerwisowy");
    auto* serviceGrid = new QGridLayout(service);
    struct ServiceButton {
        const char* name;
        const char* key;
        void (TUpgradeProgramForm::*handler)();
    };
    const ServiceButton serviceButtons[] = {
        {"ReadProgram", "ReadProgram.caption", &TUpgradeProgramForm::ReadProgramClick},
        {"EraseProgram", "EraseProgram.caption", &TUpgradeProgramForm::EraseProgramClick},
        {"WrtieProgram", "WrtieProgram.caption", &TUpgradeProgramForm::WrtieProgramClick},
        {"VerifyProgram", "VerifyProgram.caption", &TUpgradeProgramForm::VerifyProgramClick},
        {"GetVersion", "GetVersion.caption", &TUpgradeProgramForm::GetVersionClick},
        {"ButtonReset", "ButtonReset.caption", &TUpgradeProgramForm::ButtonResetClick},
    };
    int index = 0;
    for (const ServiceButton& b : serviceButtons) {
        auto* button = new QPushButton(qs(context.Text("Upgrade_firmware", b.key)), service);
        button->setObjectName(b.name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, handler = b.handler] { (this->*handler)(); });
        serviceGrid->addWidget(button, index / 3, index % 3);
        ++index;
    }
    m_pSerwisowy->hide();

    m_statusPanel = new QLabel(this);
    m_statusPanel->setObjectName("StatusPanel");
    m_statusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusPanel->setMinimumHeight(fontMetrics().height() + 6);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(versions);
    layout->addLayout(operations);
    layout->addWidget(m_gauge);
    layout->addWidget(m_verifyPanel);
    layout->addLayout(buttons);
    layout->addWidget(m_pSerwisowy);
    layout->addWidget(m_statusPanel);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the longest status text, so the step's word is never cut off.
    m_statusPanel->setMinimumWidth(
        fontMetrics().horizontalAdvance(qs(context.Text("Upgrade_firmware", "TrwaAktualizacja") + ":  " +
                                           context.Text("Upgrade_firmware", "Weryfikuje"))) + 40);
    m_gauge->setMinimumWidth(380);

    m_upgrade->changed = [this] { refresh(); };
}

TUpgradeProgramForm::~TUpgradeProgramForm()
{
    m_upgrade->changed = nullptr;
}

bool TUpgradeProgramForm::servicePanelVisible() const
{
    return !m_pSerwisowy->isHidden();
}

void TUpgradeProgramForm::refresh()
{
    const machine::FirmwareUpgrade& u = *m_upgrade;
    m_actualDeviceVer->setText(qs(u.controllerVersionText));
    m_newVerFromFile->setText(qs(u.imageVersionText));
    m_newVerFromFile->setToolTip(qs(u.imagePath));
    for (int i = 0; i < 3; ++i)
        m_operations[i]->setChecked(u.operationsTicked[static_cast<std::size_t>(i)]);
    m_gauge->setValue(u.progress);
    m_verifyPanel->setText(qs(u.verifyText));
    m_statusPanel->setText(qs(u.statusText));
    // No step may start while one runs: the steps run inside this handler's call.
    m_buttonUpgrade->setEnabled(u.upgradeEnabled && !m_running);
    for (QPushButton* button : m_pSerwisowy->findChildren<QPushButton*>())
        button->setEnabled(!m_running);
    if (m_running && isVisible()) {
        // The steps block the event loop; paint what changed now.
        m_gauge->repaint();
        m_statusPanel->repaint();
        m_verifyPanel->repaint();
    }
}

void TUpgradeProgramForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TUpgradeProgramForm::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers service = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
    if (event->key() == Qt::Key_F12 && (event->modifiers() & service) == service) {
        m_pSerwisowy->setVisible(m_pSerwisowy->isHidden());
        return;
    }
    if (m_running)
        return;  // Esc must not close the dialog under a running step
    QDialog::keyPressEvent(event);
}

void TUpgradeProgramForm::FormActivate()
{
    m_upgrade->activate();
    refresh();
}

namespace {

// Marks a step as running for the length of a handler.
class Running {
public:
    Running(bool& flag, std::function<void()> refresh) : m_flag(flag), m_refresh(std::move(refresh))
    {
        m_flag = true;
        m_refresh();
    }
    ~Running()
    {
        m_flag = false;
        m_refresh();
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& m_flag;
    std::function<void()> m_refresh;
};

}  // namespace

void TUpgradeProgramForm::ButtonUpgradeClick()
{
    if (m_running || !m_upgrade->upgradeEnabled)
        return;
    bool close = false;
    {
        Running running(m_running, [this] { refresh(); });
        close = m_upgrade->upgrade();
    }
    if (close)
        accept();
}

void TUpgradeProgramForm::ReadProgramClick()
{
    if (m_running)
        return;
    // Into the data directory: reading must never overwrite the image delivered with the program.
    const std::string name = std::filesystem::path(m_upgrade->imagePath).filename().string();
    const std::string path = m_context.dataDirectory + (name.empty() ? "Kerfline.rom" : name);
    std::error_code error;
    const auto before = std::filesystem::last_write_time(path, error);
    const bool existed = !error;
    {
        Running running(m_running, [this] { refresh(); });
        m_upgrade->readProgram(path);
    }
    // The core has reported a failure itself; only a file that was written is announced.
    const auto after = std::filesystem::last_write_time(path, error);
    if (!error && (!existed || after != before))
        m_verifyPanel->setText(qs(formatText(m_context.Text("Upgrade_firmware", "odczytanoDo"), {path})));
}

void TUpgradeProgramForm::EraseProgramClick()
{
    if (m_running)
        return;
    Running running(m_running, [this] { refresh(); });
    m_upgrade->erase();
}

void TUpgradeProgramForm::WrtieProgramClick()
{
    if (m_running)
        return;
    Running running(m_running, [this] { refresh(); });
    m_upgrade->write(true);
}

void TUpgradeProgramForm::VerifyProgramClick()
{
    if (m_running)
        return;
    Running running(m_running, [this] { refresh(); });
    m_upgrade->verify();
}

void TUpgradeProgramForm::GetVersionClick()
{
    if (m_running)
        return;
    Running running(m_running, [this] { refresh(); });
    m_upgrade->version();
}

void TUpgradeProgramForm::ButtonResetClick()
{
    if (m_running)
        return;
    Running running(m_running, [this] { refresh(); });
    m_upgrade->restart();
}

}  // namespace kerfline::ui
