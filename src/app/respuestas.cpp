#include "app/respuestas.h"

#include "app/fonts.h"
#include "common/ui/widgets.h"

#include <QLabel>
#include <QPushButton>

namespace orvex {

Respuestas::Respuestas(const CalcOutcome::Evaluation& evaluation, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Respuestas"));
    setWindowTitle(QStringLiteral("Indicadores de Evaluación"));
    setFixedSize(twipsToPixels(7305, this), twipsToPixels(2700, this));

    addRow(1, 90, kLabelVpn, evaluation.vpn);
    addRow(2, 740, kLabelBc, evaluation.bc);
    addRow(3, 1440, kLabelTir, evaluation.tir);

    m_cerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    m_cerrar->setObjectName(QStringLiteral("Cerrar"));
    m_cerrar->setGeometry(twipsRect(6525, 2115, 780, 375, this));
    m_cerrar->setDefault(true);
    connect(m_cerrar, &QPushButton::clicked, this, &QDialog::accept);
}

void Respuestas::addRow(int index, int top, const char* caption, const std::string& value)
{
    auto* comentario = new QLabel(QString::fromUtf8(caption), this);
    comentario->setObjectName(QStringLiteral("LabelComentario%1").arg(index));
    comentario->setFont(msSansSerif(8.25));
    comentario->setGeometry(twipsRect(90, top, 3075, 465, this));

    auto* respuesta = new QLabel(qs(value), this);
    respuesta->setObjectName(QStringLiteral("LabelRespuesta%1").arg(index));
    makeValueLabel(respuesta);
    respuesta->setGeometry(twipsRect(4050, top, 2580, 465, this));
}

void Respuestas::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        centerForm(this);
    }
}

} // namespace orvex
