#include "rates/ui/tc.h"

#include "common/calc_error.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "rates/combined_rate.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvex {

Tc::Tc(AppContext& ctx, QLineEdit* knownRate, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_knownRate(knownRate)
{
    setObjectName(QStringLiteral("Tc"));
    setWindowTitle(QStringLiteral("Tasa Combinada"));
    new QVBoxLayout(this);
    createFields();
    createButtons();
    adjustSize();
    setFixedSize(sizeHint());
    centerForm(this);
}

void Tc::createFields()
{
    auto* grid = new QGridLayout;
    m_first = new QLineEdit(this);
    m_first->setObjectName(QStringLiteral("Componente1"));
    m_second = new QLineEdit(this);
    m_second->setObjectName(QStringLiteral("Componente2"));
    auto* caption = new QLabel(QStringLiteral("Tasa Combinada :"), this);
    caption->setObjectName(QStringLiteral("TasaCombinada"));
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("TCombinada"));
    m_result->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setMinimumWidth(twipsToPixels(1800, this));
    m_result->setMinimumHeight(m_first->sizeHint().height());

    grid->addWidget(new QLabel(QStringLiteral("Componente 1 :"), this), 0, 0);
    grid->addWidget(m_first, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Componente 2 :"), this), 1, 0);
    grid->addWidget(m_second, 1, 1);
    grid->addWidget(caption, 2, 0);
    grid->addWidget(m_result, 2, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void Tc::createButtons()
{
    auto* row = new QHBoxLayout;
    const QString captions[]
        = { QStringLiteral("&Calcular"), QStringLiteral("&Aceptar"), QStringLiteral("&Salir") };
    for (std::size_t i = 0; i < m_boton.size(); ++i) {
        m_boton[i] = new QPushButton(captions[i], this);
        m_boton[i]->setObjectName(QStringLiteral("Boton%1").arg(i));
        row->addWidget(m_boton[i]);
    }
    m_boton[0]->setDefault(true);
    for (QLineEdit* component : { m_first, m_second })
        connect(component, &QLineEdit::textChanged, m_result, &QLabel::clear);
    connect(m_boton[0], &QPushButton::clicked, this, &Tc::calculate);
    connect(m_boton[1], &QPushButton::clicked, this, &Tc::accept);
    connect(m_boton[2], &QPushButton::clicked, this, &Tc::reject);
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->addSpacing(twipsToPixels(120, this));
    box->addLayout(row);
}

void Tc::calculate()
{
    try {
        m_result->setText(qs(combinedRateText(us(m_first->text()), us(m_second->text()))));
    } catch (const std::exception&) {
        m_ctx.messages.calcError(this);
    }
}

void Tc::accept()
{
    // Nothing calculated: the converter keeps the known rate typed there.
    if (m_knownRate && !m_result->text().isEmpty())
        m_knownRate->setText(m_result->text());
    QDialog::accept();
}

Tc* openCombinedRateWindow(QWidget* parent, AppContext& ctx, QLineEdit* knownRate)
{
    auto* window = new Tc(ctx, knownRate, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    return window;
}

} // namespace orvex
