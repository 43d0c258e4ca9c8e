#include "extras/ui/frm_about.h"

#include "common/ui/app_context.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "extras/system_info.h"
#include "extras/ui/program_icon.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvex {
namespace {

constexpr int kIconSide = 48;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString programName() { return QStringLiteral(ORVEX_PROGRAM_NAME); }

QString versionText()
{
    return QStringLiteral("Versión %1.%2.%3")
        .arg(ORVEX_VERSION_MAJOR)
        .arg(ORVEX_VERSION_MINOR)
        .arg(ORVEX_VERSION_PATCH);
}

frmAbout::frmAbout(AppContext& ctx, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Acerca de ") + programName());
    new QVBoxLayout(this);
    createTexts();
    createButtons();
    setFixedSize(sizeHint());
    centerForm(this);
}

void frmAbout::createTexts()
{
    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("picIcon"));
    m_icon->setPixmap(programIconPixmap(kIconSide, devicePixelRatioF()));
    m_icon->setFixedSize(kIconSide, kIconSide);

    m_title = makeLabel(this, "lblTitle", programName());
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_version = makeLabel(this, "lblVersion", versionText());
    auto* description = makeLabel(this, "lblDescription",
        QStringLiteral("Descripción de la aplicación: Programa para efectuar cálculos financieros. "
                       "Además, permite establecer los planes de pago en las diferentes "
                       "modalidades que se ofrecen en el Sistema de Financiación de Vivienda en "
                       "Colombia."));
    description->setMinimumWidth(twipsToPixels(4200, this));

    // A sunken line is drawn as two lines, dark over light.
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    auto* disclaimer = makeLabel(this, "lblDisclaimer",
        QStringLiteral("Advertencia: los resultados de este programa sirven para el estudio de las "
                       "matemáticas financieras. Verifíquelos antes de tomar cualquier decisión "
                       "de inversión o de crédito; el programa se entrega sin garantía de ningún "
                       "tipo."));
    QFont small = disclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    disclaimer->setFont(small);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(twipsToPixels(240, this));
    grid->addWidget(m_icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(m_title, 0, 1);
    grid->addWidget(m_version, 1, 1);
    grid->addWidget(description, 2, 1);
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->addLayout(grid);
    box->addWidget(line);
    box->addWidget(disclaimer);
}

void frmAbout::createButtons()
{
    m_ok = new QPushButton(QStringLiteral("Aceptar"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_sysInfo = new QPushButton(QStringLiteral("Info. del &sistema..."), this);
    m_sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(m_ok, &QPushButton::clicked, this, &frmAbout::accept);
    connect(m_sysInfo, &QPushButton::clicked, this, &frmAbout::startSysInfo);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_ok);
    row->addWidget(m_sysInfo);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void frmAbout::startSysInfo()
{
    ProcessLauncher& launcher = m_ctx.processes();
    for (std::string_view name : kSystemInfoPrograms) {
        const QString path = launcher.findProgram(qs(std::string(name)));
        if (!path.isEmpty() && launcher.startDetached(path, {}))
            return;
    }
    m_ctx.messages.show(this,
        { QStringLiteral("La información del sistema no está disponible en este momento"),
            programName(), MsgIcon::None, MsgButtons::Ok });
}

} // namespace orvex
