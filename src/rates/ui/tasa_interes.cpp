#include "rates/ui/tasa_interes.h"

#include "common/calc_error.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "rates/rate_conversion.h"
#include "rates/ui/tc.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvex {
namespace {

// Object names of the period options start with the caption without spaces.
QString periodKey(Period period) { return qs(periodName(period)); }

QRadioButton* option(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// An option pair of its own: one group, one selection.
QWidget* createPair(const QString& side, const QString& first, const QString& second,
    QRadioButton*& firstOption, QRadioButton*& secondOption, QWidget* parent)
{
    auto* pair = new QWidget(parent);
    auto* layout = new QHBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(pair);
    firstOption = option(side + first, first, pair);
    secondOption = option(side + second, second, pair);
    for (QRadioButton* b : { firstOption, secondOption }) {
        group->addButton(b);
        layout->addWidget(b);
    }
    layout->addStretch();
    return pair;
}

} // namespace

TasaInteres::TasaInteres(AppContext& ctx, RateTargets targets, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_worksheetRate(targets.worksheetRate)
    , m_loanRealRate(targets.loanRealRate)
    , m_loanVariation(targets.loanVariation)
{
    setObjectName(QStringLiteral("TasaInteres"));
    setWindowTitle(QStringLiteral("Manejo de Tasas de Interes"));

    m_knownRate = new QLineEdit(this);
    m_knownRate->setObjectName(QStringLiteral("TasaConocida"));
    m_wantedRate = new QLabel(this);
    m_wantedRate->setObjectName(QStringLiteral("TasaDesconocida"));
    m_wantedRate->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_wantedRate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_wantedRate->setMinimumHeight(m_knownRate->sizeHint().height());

    auto* layout = new QVBoxLayout(this);
    createMenus();
    auto* panels = new QHBoxLayout;
    panels->addWidget(createRatePanel(QStringLiteral("TASA CONOCIDA"), QStringLiteral("Conocida"),
        QStringLiteral("Conocido"), m_knownRate, m_known));
    panels->addWidget(createRatePanel(QStringLiteral("TASA DESCONOCIDA"),
        QStringLiteral("Desconocida"), QStringLiteral("Desconocido"), m_wantedRate, m_wanted));
    layout->addLayout(panels);
    layout->addWidget(createButtons());
    setDefaults();
    connectEvents();
    updateReferenceEnabling();

    adjustSize();
    setFixedSize(sizeHint());
    centerForm(this);
}

void TasaInteres::createMenus()
{
    auto* bar = new QMenuBar(this);
    QMenu* utilidad = bar->addMenu(QStringLiteral("Utilidad"));
    utilidad->setObjectName(QStringLiteral("Menu0"));
    QAction* combined = utilidad->addAction(QStringLiteral("Tasas Combinadas"));
    combined->setObjectName(QStringLiteral("Menu10"));
    connect(combined, &QAction::triggered, this, &TasaInteres::openCombinedRate);
    layout()->setMenuBar(bar);
}

QGroupBox* TasaInteres::createRatePanel(const QString& title, const QString& side,
    const QString& period, QWidget* rateControl, Side& options)
{
    auto* panel = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(panel);

    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(new QLabel(QStringLiteral("Tasa (%) :"), panel));
    rateControl->setMinimumWidth(twipsToPixels(1800, this));
    rateRow->addWidget(rateControl);
    rateRow->addStretch();
    layout->addLayout(rateRow);

    layout->addWidget(createPair(side, QStringLiteral("Nominal"), QStringLiteral("Efectiva"),
        options.nominal, options.efectiva, panel));
    layout->addWidget(createPair(side, QStringLiteral("Vencida"), QStringLiteral("Anticipada"),
        options.vencida, options.anticipada, panel));

    auto* periods = new QGroupBox(QStringLiteral("PERIODOS"), panel);
    auto* periodsLayout = new QHBoxLayout(periods);
    periodsLayout->addWidget(
        createPeriodGroup(QStringLiteral("Referencia"), period, QLatin1Char('N'), options, true));
    periodsLayout->addWidget(createPeriodGroup(
        QStringLiteral("Capitalización"), period, QLatin1Char('E'), options, false));
    layout->addWidget(periods);
    return panel;
}

QGroupBox* TasaInteres::createPeriodGroup(
    const QString& title, const QString& period, QChar suffix, Side& options, bool reference)
{
    auto* box = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (std::size_t i = 0; i < kAllPeriods.size(); ++i) {
        const Period p = kAllPeriods[i];
        QRadioButton* b = option(periodKey(p) + period + suffix, qs(periodName(p)), box);
        group->addButton(b, static_cast<int>(i));
        layout->addWidget(b);
        if (reference)
            options.referenceOptions[i] = b;
    }
    (reference ? options.reference : options.capitalization) = group;
    return box;
}

QWidget* TasaInteres::createButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->addStretch();
    m_calculate = new QPushButton(QStringLiteral("&Calcular"), row);
    m_calculate->setObjectName(QStringLiteral("Calculos"));
    m_calculate->setDefault(true);
    layout->addWidget(m_calculate);
    const QString captions[] = { QStringLiteral("&Aceptar"), QStringLiteral("Ca&ncelar") };
    for (std::size_t i = 0; i < m_boton.size(); ++i) {
        m_boton[i] = new QPushButton(captions[i], row);
        m_boton[i]->setObjectName(QStringLiteral("Boton%1").arg(i));
        layout->addWidget(m_boton[i]);
    }
    layout->addStretch();
    return row;
}

void TasaInteres::setDefaults()
{
    // Known: effective vencida per year; wanted: effective vencida per month.
    m_known.efectiva->setChecked(true);
    m_known.vencida->setChecked(true);
    m_known.reference->button(0)->setChecked(true);
    m_known.capitalization->button(0)->setChecked(true);
    m_wanted.efectiva->setChecked(true);
    m_wanted.vencida->setChecked(true);
    m_wanted.reference->button(0)->setChecked(true);
    m_wanted.capitalization->button(4)->setChecked(true);
}

void TasaInteres::connectEvents()
{
    for (Side* side : { &m_known, &m_wanted }) {
        connect(side->nominal, &QRadioButton::toggled, this, &TasaInteres::updateReferenceEnabling);
        connect(
            side->efectiva, &QRadioButton::toggled, this, &TasaInteres::updateReferenceEnabling);
    }
    // A result belongs to the inputs it came from: any change of them empties it.
    connect(m_knownRate, &QLineEdit::textChanged, m_wantedRate, &QLabel::clear);
    for (QRadioButton* option : findChildren<QRadioButton*>())
        connect(option, &QRadioButton::toggled, m_wantedRate, &QLabel::clear);
    connect(m_calculate, &QPushButton::clicked, this, &TasaInteres::calculate);
    for (std::size_t i = 0; i < m_boton.size(); ++i)
        connect(
            m_boton[i], &QPushButton::clicked, this, [this, i] { finish(static_cast<int>(i)); });
}

// An effective rate has no reference period; its options stay selected but disabled.
void TasaInteres::updateReferenceEnabling()
{
    for (Side* side : { &m_known, &m_wanted })
        for (QRadioButton* b : side->referenceOptions)
            b->setEnabled(!side->efectiva->isChecked());
}

RateTerms TasaInteres::terms(const Side& side) const
{
    RateTerms s;
    s.kind = rateKind(side.nominal->isChecked(), side.anticipada->isChecked());
    s.reference = kAllPeriods.at(static_cast<std::size_t>(side.reference->checkedId()));
    s.capitalization = kAllPeriods.at(static_cast<std::size_t>(side.capitalization->checkedId()));
    return s;
}

void TasaInteres::calculate()
{
    try {
        const RateConversion r
            = convertRateText(us(m_knownRate->text()), terms(m_known), terms(m_wanted));
        if (r.periodError) {
            m_ctx.messages.show(this,
                { qs(kPeriodErrorMessage), qs(kPeriodErrorTitle), MsgIcon::Information,
                    MsgButtons::Ok });
            return;
        }
        m_wantedRate->setText(qs(r.text));
    } catch (const std::exception&) {
        m_ctx.messages.calcError(this);
    }
}

void TasaInteres::finish(int index)
{
    QLineEdit* field = nullptr;
    if (m_ctx.state.LoanWindowActive) {
        if (m_ctx.state.LoanRateField == 1)
            field = m_loanRealRate;
        else if (m_ctx.state.LoanRateField == 2)
            field = m_loanVariation;
    } else if (index == 0) {
        field = m_worksheetRate;
    }
    // Nothing calculated: the field keeps the rate the person typed there.
    if (field && !m_wantedRate->text().isEmpty())
        field->setText(m_wantedRate->text());
    done(index == 0 ? QDialog::Accepted : QDialog::Rejected);
}

void TasaInteres::openCombinedRate() { openCombinedRateWindow(this, m_ctx, m_knownRate); }

TasaInteres* openRateConverter(QWidget* parent, AppContext& ctx, RateTargets targets)
{
    auto* window = new TasaInteres(ctx, targets, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    return window;
}

} // namespace orvex
