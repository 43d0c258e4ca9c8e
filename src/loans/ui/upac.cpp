#include "loans/ui/upac.h"

#include "common/calc_error.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "loans/loan_files.h"
#include "loans/ui/liquidacion.h"
#include "loans/ui/tabla_correccion.h"
#include "rates/ui/tasa_interes.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace orvex {

namespace {
const QString kFilter = QStringLiteral("de Upac (*.upa)");
}

UPAC::UPAC(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("UPAC"));
    setWindowTitle(QStringLiteral("SISTEMA DE FINANCIACION EN UVR"));
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(createInitialData());
    left->addWidget(createRates());
    m_command2 = button(
        QStringLiteral("Command2"), QStringLiteral("Definir Tasas de Variación en el Tiempo"));
    left->addWidget(m_command2);
    auto* right = new QVBoxLayout;
    right->addWidget(createPaymentSystem());
    right->addWidget(createSettlement());
    right->addStretch();
    right->addWidget(createFileButtons());
    columns->addLayout(left);
    columns->addLayout(right);

    connect(m_command2, &QPushButton::clicked, this, &UPAC::defineVariations);
    connect(m_calculos, &QPushButton::clicked, this, &UPAC::calculos);
    connect(m_cargar[1], &QPushButton::clicked, this, &UPAC::load);
    connect(m_cargar[0], &QPushButton::clicked, this, &UPAC::save);
    connect(m_salir, &QPushButton::clicked, this, &QDialog::accept);
    for (int k = 1; k <= 2; ++k)
        connect(m_convertirTasa[k - 1], &QPushButton::clicked, this, [this, k] { convertRate(k); });

    // Loading the window makes the rate converter serve it.
    m_ctx.state.LoanWindowActive = true;
}

QPushButton* UPAC::button(const QString& name, const QString& caption)
{
    auto* result = new QPushButton(caption, this);
    result->setObjectName(name);
    // Enter moves between fields; it must not press a button.
    result->setAutoDefault(false);
    return result;
}

QGroupBox* UPAC::createInitialData()
{
    auto* frame = new QGroupBox(QStringLiteral("Datos Iniciales"), this);
    auto* grid = new QGridLayout(frame);
    const QString captions[] = { QStringLiteral("Valor Préstamo ($)"),
        QStringLiteral("Valor Inicial de la  UVR"), QStringLiteral("Plazo (Meses)") };
    for (int k = 1; k <= 5; ++k) {
        auto* box = new QLineEdit(frame);
        box->setObjectName(QStringLiteral("Valores%1").arg(k));
        box->installEventFilter(this);
        m_valores[static_cast<std::size_t>(k - 1)] = box;
    }
    for (int k = 1; k <= 3; ++k) {
        auto* label = new QLabel(captions[k - 1], frame);
        label->setObjectName(QStringLiteral("LValor%1").arg(k));
        m_lvalor[static_cast<std::size_t>(k - 1)] = label;
        grid->addWidget(label, k - 1, 0);
        grid->addWidget(valores(k), k - 1, 1);
    }
    return frame;
}

QGroupBox* UPAC::createRates()
{
    auto* frame = new QGroupBox(QStringLiteral("Tasas de Interes"), this);
    auto* grid = new QGridLayout(frame);
    const QString captions[]
        = { QStringLiteral("Tasa Real (%)"), QStringLiteral("Variacion UVR %") };
    for (int k = 1; k <= 2; ++k) {
        auto* label = new QLabel(captions[k - 1], frame);
        QPushButton* convert
            = button(QStringLiteral("ConvertirTasa%1").arg(k), QStringLiteral("Convertir Tasa"));
        m_convertirTasa[static_cast<std::size_t>(k - 1)] = convert;
        grid->addWidget(label, 0, k - 1);
        grid->addWidget(valores(k + 3), 1, k - 1);
        grid->addWidget(convert, 2, k - 1);
    }
    return frame;
}

QGroupBox* UPAC::createPaymentSystem()
{
    auto* frame = new QGroupBox(QStringLiteral("Sistema de Pago"), this);
    auto* column = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    const QString captions[] = { QStringLiteral("Pago Constante a Capital en UVR"),
        QStringLiteral("Cuota Uniforme en UVR"), QStringLiteral("Cuotas Preestablecidas") };
    for (int k = 1; k <= 3; ++k) {
        auto* option = new QRadioButton(captions[k - 1], frame);
        option->setObjectName(QStringLiteral("SistemaPago%1").arg(k));
        group->addButton(option, k);
        column->addWidget(option);
        m_sistemaPago[static_cast<std::size_t>(k - 1)] = option;
    }
    m_sistemaPago[0]->setChecked(true);
    return frame;
}

QGroupBox* UPAC::createSettlement()
{
    auto* frame = new QGroupBox(QStringLiteral("Liquidación del Préstamo"), this);
    auto* row = new QHBoxLayout(frame);
    m_calculos = button(QStringLiteral("Calculos"), QStringLiteral("Cálculos"));
    row->addWidget(m_calculos);
    auto* options = new QVBoxLayout;
    auto* group = new QButtonGroup(frame);
    const QString captions[] = { QStringLiteral("En UVR"), QStringLiteral("En Pesos") };
    for (int k = 1; k <= 2; ++k) {
        auto* option = new QRadioButton(captions[k - 1], frame);
        option->setObjectName(QStringLiteral("Opcion%1").arg(k));
        group->addButton(option, k);
        options->addWidget(option);
        m_opcion[static_cast<std::size_t>(k - 1)] = option;
    }
    m_opcion[1]->setChecked(true);
    row->addLayout(options);
    return frame;
}

QWidget* UPAC::createFileButtons()
{
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    m_cargar[1] = button(QStringLiteral("Cargar1"), QStringLiteral("Cargar"));
    m_cargar[0] = button(QStringLiteral("Cargar0"), QStringLiteral("Grabar"));
    m_salir = button(QStringLiteral("Salir"), QStringLiteral("Salir"));
    row->addWidget(m_cargar[1]);
    row->addWidget(m_cargar[0]);
    row->addWidget(m_salir);
    return panel;
}

// Becoming active again changes nothing: the worksheet of the main window is
// left as the person typed it.
void UPAC::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centerForm(this);
}

bool UPAC::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int k = 1; k < 5 && (key == Qt::Key_Return || key == Qt::Key_Enter); ++k) {
            if (watched == valores(k)) {
                valores(k + 1)->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

LoanInput UPAC::loanInput() const
{
    LoanInput loan;
    for (int k = 1; k <= 5; ++k)
        loan.texts[static_cast<std::size_t>(k - 1)] = us(valores(k)->text());
    for (int k = 1; k <= 3; ++k) {
        if (m_sistemaPago[static_cast<std::size_t>(k - 1)]->isChecked()) {
            loan.system = static_cast<PaymentSystem>(k);
            break;
        }
    }
    loan.enUvr = m_opcion[0]->isChecked();
    return loan;
}

void UPAC::setLoanInput(const LoanInput& loan)
{
    for (int k = 1; k <= 5; ++k)
        valores(k)->setText(qs(loan.texts[static_cast<std::size_t>(k - 1)]));
    m_sistemaPago[static_cast<std::size_t>(static_cast<int>(loan.system) - 1)]->setChecked(true);
    m_opcion[loan.enUvr ? 0 : 1]->setChecked(true);
}

void UPAC::convertRate(int field)
{
    m_ctx.state.LoanRateField = static_cast<std::int16_t>(field);
    openRateConverter(this, m_ctx, RateTargets { nullptr, valores(4), valores(5) });
}

TablaCorreccion* UPAC::variationTableForTerm()
{
    int months = 0;
    try {
        months = loanMonths(us(valores(3)->text()));
    } catch (const std::exception&) {
        m_ctx.messages.calcError(this);
        return nullptr;
    }
    if (!m_tabla)
        m_tabla = new TablaCorreccion(m_ctx, months, this);
    else
        m_tabla->setMonths(months);
    return m_tabla;
}

void UPAC::defineVariations()
{
    if (auto* table = variationTableForTerm())
        runModal(*table);
}

void UPAC::openVariationFile(const QString& name)
{
    try {
        valores(3)->setText(QString::number(variationFileMonths(us(name))));
    } catch (const LoanFileError& e) {
        showFileError(QString::fromUtf8(e.what()));
        return;
    }
    auto* table = variationTableForTerm();
    if (!table || !table->loadFile(name))
        return;
    QMetaObject::invokeMethod(
        this, [this] { runModal(*m_tabla); }, Qt::QueuedConnection);
}

void UPAC::calculos()
{
    const LoanInput loan = loanInput();
    try {
        runLoanCalculation(loan, m_ctx.state);
    } catch (const std::exception&) {
        m_ctx.messages.calcError(this);
        return;
    }
    Liquidacion schedule(
        m_ctx, ScheduleSource::loan(loan.termText(), loan.rateText(), loan.enUvr), this);
    schedule.runModal = runModal;
    runModal(schedule);
}

void UPAC::load()
{
    const QString name
        = m_ctx.fileDialogs.openFileName(this, QStringLiteral("Cargar"), kFilter, {});
    if (!name.isEmpty())
        loadFile(name);
}

bool UPAC::loadFile(const QString& name)
{
    try {
        setLoanInput(loadLoanFile(us(name)));
    } catch (const LoanFileError& e) {
        showFileError(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void UPAC::save()
{
    const QString name = m_ctx.fileDialogs.saveFileName(
        this, QStringLiteral("Grabar"), kFilter, {}, QStringLiteral("upa"));
    if (name.isEmpty())
        return;
    try {
        saveLoanFile(us(name), loanInput());
    } catch (const LoanFileError& e) {
        showFileError(QString::fromUtf8(e.what()));
    }
}

void UPAC::showFileError(const QString& text)
{
    m_ctx.messages.show(
        this, { text, QStringLiteral("ERROR"), MsgIcon::Exclamation, MsgButtons::Ok });
}

} // namespace orvex
