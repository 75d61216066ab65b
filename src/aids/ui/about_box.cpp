#include "aids/ui/about_box.h"

#include "cutting/cutting_session.h"
#include "base/app_context.h"
#include "base/ui/text.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kerfline::ui {

AboutBox::AboutBox(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session)
{
    setObjectName("AboutBox");
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);
    m_information.create(context);
    setWindowTitle(qs(m_information.caption));

    // The dealer's logo, shown only when the dealer edition brings one.
    auto* pLogo = new QFrame(this);
    pLogo->setObjectName("pLogo");
    auto* logoLayout = new QHBoxLayout(pLogo);
    m_dealer = new QLabel(pLogo);
    m_dealer->setObjectName("dealer");
    m_dealer->setAlignment(Qt::AlignCenter);
    logoLayout->addWidget(m_dealer);
    QPixmap logo;
    if (!m_information.dealer.logoPath.empty() && logo.load(qs(m_information.dealer.logoPath))) {
        m_dealer->setPixmap(logo);
        m_dealer->setToolTip(qs(m_information.dealer.webAddress));
        if (!m_information.dealer.webAddress.empty())
            m_dealer->setCursor(Qt::PointingHandCursor);
        m_dealer->installEventFilter(this);
    } else {
        pLogo->hide();
    }

    auto* labelProg = new QLabel(qs(m_information.programLine), this);
    labelProg->setObjectName("Labelprog");
    QFont title = labelProg->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    labelProg->setFont(title);

    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(new QLabel(qs(context.Text("About", "Labelver.caption")), this));
    m_newVer = new QLabel(this);
    m_newVer->setObjectName("newVer");
    m_ver = new QLabel(this);
    m_ver->setObjectName("ver");
    m_ver->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    versionRow->addWidget(m_newVer);
    versionRow->addStretch();
    versionRow->addWidget(m_ver);

    auto* group = new QGroupBox(qs(context.Text("About", "GroupBox1.caption")), this);
    group->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(16);
    int row = 0;
    auto addRow = [&](const std::string& caption, const char* name, QLabel** captionLabel = nullptr) {
        auto* label = new QLabel(qs(caption), group);
        auto* value = new QLabel(group);
        value->setObjectName(name);
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
        if (captionLabel != nullptr)
            *captionLabel = label;
        return value;
    };
    m_prod = addRow(context.Text("About", "Labelprod.caption"), "prod", &m_labelProd);
    m_model = addRow(context.Text("About", "Labelmodel.caption"), "model");
    m_obszar = addRow(context.Text("About", "Labelobszar.caption"), "obszar");
    m_szerokosc =
        addRow(context.Text("Independent_start_dialog", "lSzerPlotera.caption"), "szerokosc", &m_labelSzerokosc);
    m_przebieg = addRow(context.Text("About", "Labelprzebieg.caption"), "przebieg");
    m_ilpl = addRow(context.Text("About", "Labelilpl.caption"), "ilpl");
    m_armWersja = addRow("CPU ver. :", "ARMwersja");
    grid->setColumnStretch(1, 1);
    if (!m_information.dealer.vendorRowVisible) {
        m_labelProd->hide();
        m_prod->hide();
    }

    auto* lWWW = new QLabel(this);
    lWWW->setObjectName("lWWW");
    const QString address = qs(m_information.dealer.webAddress).toHtmlEscaped();
    lWWW->setText(QString("<a href=\"%1\">%1</a>").arg(address));
    lWWW->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lWWW->setVisible(!m_information.dealer.webAddress.empty());
    connect(lWWW, &QLabel::linkActivated, this, [this] { openAddress(); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(qs(context.Text("About", "OK.caption")), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OK");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pLogo);
    layout->addWidget(labelProg);
    layout->addLayout(versionRow);
    layout->addWidget(group);
    layout->addWidget(lWWW, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    group->setMinimumWidth(360);  // the box keeps one width with or without a controller
}

AboutBox::~AboutBox() = default;

void AboutBox::FormActivate()
{
    m_information.activate(m_context, m_session.protocol, m_session.link);
    setWindowTitle(qs(m_information.caption));
    m_newVer->setText(qs(m_information.newVer));
    m_ver->setText(qs(m_information.ver));
    m_prod->setText(qs(m_information.prod));
    m_model->setText(qs(m_information.model));
    m_obszar->setText(qs(m_information.obszar));
    m_szerokosc->setText(qs(m_information.szerokosc));
    m_przebieg->setText(qs(m_information.przebieg));
    m_ilpl->setText(qs(m_information.ilpl));
    m_armWersja->setText(qs(m_information.ARMwersja));
    if (!m_information.widthRowVisible) {
        m_labelSzerokosc->hide();
        m_szerokosc->hide();
    }
}

void AboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void AboutBox::mousePressEvent(QMouseEvent* event)
{
    // A click on the box (or its group, which passes clicks on) closes it.
    if (event->button() == Qt::LeftButton) {
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dealer && event->type() == QEvent::MouseButtonPress) {
        openAddress();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::openAddress() const
{
    if (!m_information.dealer.webAddress.empty())
        QDesktopServices::openUrl(QUrl(qs(m_information.dealer.webAddress)));
}

}  // namespace kerfline::ui
