#include "loans/ui/tabla_correccion.h"

#include "common/calc_error.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "loans/loan_files.h"
#include "loans/ui/loan_ui.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace orvex {

namespace {
const QString kFilter = QStringLiteral("de corrección (*.cor)");
constexpr int kPageRows = 8;
constexpr int kRateColumn = 1;
}

TablaCorreccion::TablaCorreccion(AppContext& ctx, int months, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TablaCorreccion"));
    setWindowTitle(QStringLiteral("Tabla de Corrección Monetaria Detallada"));
    auto* layout = new QHBoxLayout(this);
    auto* table = new QVBoxLayout;
    createGrid();
    createEditor();
    table->addWidget(m_celdas);
    table->addWidget(m_edicion);
    layout->addLayout(table);
    createButtons();
    setMonths(months);
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("TimerCelda"));
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &TablaCorreccion::keepCurrentRowVisible);
    m_timer->start();
    setMinimumWidth(std::max(sizeHint().width(), captionWidth(this)));
    resize(minimumWidth(), twipsToPixels(4400, this));
    m_ready = true;
}

void TablaCorreccion::createGrid()
{
    m_celdas = new QTableWidget(this);
    m_celdas->setObjectName(QStringLiteral("Celdas"));
    setUpLoanGrid(m_celdas, { QStringLiteral("Período"), QStringLiteral("Corrección") }, { 5, 7 });
    m_celdas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_celdas->installEventFilter(this);
    connect(m_celdas, &QTableWidget::currentCellChanged, this,
        [this](int row, int column) { currentCellChanged(row, column); });
}

void TablaCorreccion::createEditor()
{
    m_edicion = new QLineEdit(this);
    m_edicion->setObjectName(QStringLiteral("Edicion"));
    m_edicion->setMaximumWidth(m_celdas->maximumWidth());
    m_edicion->installEventFilter(this);
    connect(m_edicion, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (QTableWidgetItem* item = m_celdas->currentItem();
            item && m_celdas->currentColumn() == kRateColumn)
            item->setText(text);
    });
}

void TablaCorreccion::createButtons()
{
    m_grabar = new QPushButton(QStringLiteral("Grabar"), this);
    m_grabar->setObjectName(QStringLiteral("Grabar0"));
    m_cargar = new QPushButton(QStringLiteral("Cargar"), this);
    m_cargar->setObjectName(QStringLiteral("Grabar1"));
    m_salir = new QPushButton(QStringLiteral("Salir"), this);
    m_salir->setObjectName(QStringLiteral("Salir"));
    auto* column = new QVBoxLayout;
    for (QPushButton* button : { m_grabar, m_cargar, m_salir }) {
        button->setAutoDefault(false);
        column->addWidget(button);
    }
    column->addStretch();
    static_cast<QHBoxLayout*>(layout())->addLayout(column);
    connect(m_grabar, &QPushButton::clicked, this, &TablaCorreccion::save);
    connect(m_cargar, &QPushButton::clicked, this, &TablaCorreccion::load);
    connect(m_salir, &QPushButton::clicked, this, &TablaCorreccion::handOver);
}

void TablaCorreccion::setMonths(int months)
{
    const bool wasReady = m_ready;
    m_ready = false;
    m_months = months;
    const int oldRows = m_celdas->rowCount();
    m_celdas->setRowCount(months + 1);
    for (int r = 0; r <= months; ++r) {
        m_celdas->setItem(r, 0, fixedCell(QString::number(r)));
        if (r >= oldRows || !m_celdas->item(r, kRateColumn))
            m_celdas->setItem(r, kRateColumn, new QTableWidgetItem);
        m_celdas->item(r, kRateColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_ready = wasReady;
}

int TablaCorreccion::currentRow() const { return m_celdas->currentRow() + 1; }

void TablaCorreccion::moveTo(int row)
{
    m_celdas->setCurrentCell(row - 1, kRateColumn);
    keepCurrentRowVisible();
}

QStringList TablaCorreccion::rateTexts() const
{
    QStringList texts;
    for (int r = 0; r < m_celdas->rowCount(); ++r)
        texts << m_celdas->item(r, kRateColumn)->text().trimmed();
    return texts;
}

void TablaCorreccion::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centerForm(this);
    // A move to the same cell gives no change notice: refresh the editor here.
    moveTo(1);
    currentCellChanged(m_celdas->currentRow(), m_celdas->currentColumn());
}

void TablaCorreccion::currentCellChanged(int row, int column)
{
    if (!m_ready || row < 0)
        return;
    if (column != kRateColumn) {
        m_celdas->setCurrentCell(row, kRateColumn);
        return;
    }
    m_ready = false;
    const QTableWidgetItem* item = m_celdas->item(row, column);
    m_edicion->setText(item ? item->text() : QString());
    m_edicion->setFocus();
    m_ready = true;
}

bool TablaCorreccion::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == m_edicion)
        return editorKey(key);
    if (watched == m_celdas && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        moveTo(std::min(currentRow() + 1, m_celdas->rowCount()));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Row numbers as the table counts them: 1 is month 0, the last is rowCount.
bool TablaCorreccion::editorKey(int key)
{
    const int row = currentRow();
    const int last = m_celdas->rowCount();
    const int rowsWithHeader = last + 1;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        if (row < last)
            moveTo(row + 1);
        return true;
    case Qt::Key_Up:
        if (row >= 2)
            moveTo(row - 1);
        return true;
    case Qt::Key_PageUp:
        if (row >= kPageRows + 1)
            moveTo(row - kPageRows);
        return true;
    case Qt::Key_PageDown:
        if (row < rowsWithHeader - kPageRows)
            moveTo(row + kPageRows);
        return true;
    default:
        return false;
    }
}

void TablaCorreccion::keepCurrentRowVisible()
{
    const int current = m_celdas->currentRow();
    if (current < 0)
        return;
    const int top = std::max(m_celdas->rowAt(0), 0);
    if (current < top || current > top + kPageRows - 1)
        m_celdas->scrollTo(
            m_celdas->model()->index(current, kRateColumn), QAbstractItemView::PositionAtTop);
}

void TablaCorreccion::load()
{
    const QString name
        = m_ctx.fileDialogs.openFileName(this, QStringLiteral("Cargar"), kFilter, {});
    if (name.isEmpty()) {
        moveTo(1);
        currentCellChanged(m_celdas->currentRow(), m_celdas->currentColumn());
        return;
    }
    loadFile(name);
}

bool TablaCorreccion::loadFile(const QString& name)
{
    bool loaded = false;
    try {
        const auto texts = loadVariationFile(us(name), static_cast<std::size_t>(m_months) + 1);
        m_ready = false;
        for (int r = 0; r <= m_months; ++r)
            m_celdas->item(r, kRateColumn)->setText(qs(texts[static_cast<std::size_t>(r)]));
        m_ready = true;
        loaded = true;
    } catch (const LoanFileError& e) {
        showFileError(QString::fromUtf8(e.what()));
    }
    moveTo(1);
    currentCellChanged(m_celdas->currentRow(), m_celdas->currentColumn());
    return loaded;
}

void TablaCorreccion::save()
{
    const QString name = m_ctx.fileDialogs.saveFileName(
        this, QStringLiteral("Grabar"), kFilter, {}, QStringLiteral("cor"));
    if (name.isEmpty())
        return;
    std::vector<std::string> texts;
    for (const QString& text : rateTexts())
        texts.push_back(us(text));
    try {
        saveVariationFile(us(name), texts);
    } catch (const LoanFileError& e) {
        showFileError(QString::fromUtf8(e.what()));
    }
    moveTo(1);
}

void TablaCorreccion::handOver()
{
    std::vector<std::string> texts;
    for (const QString& text : rateTexts())
        texts.push_back(us(text));
    try {
        m_ctx.state.UvrVariations = variationsFromTexts(texts);
    } catch (const std::exception&) {
        m_ctx.messages.calcError(this);
        return;
    }
    accept();
}

void TablaCorreccion::showFileError(const QString& text)
{
    m_ctx.messages.show(
        this, { text, QStringLiteral("ERROR"), MsgIcon::Exclamation, MsgButtons::Ok });
}

} // namespace orvex
