#include "records/ui/ocupado.h"

#include "common/ui/widgets.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace orvex {

Ocupado::Ocupado(const QString& path, std::function<BusyTest()> poll, QWidget* parent)
    : QDialog(parent)
    , m_path(path)
    , m_poll(std::move(poll))
{
    setObjectName(QStringLiteral("Ocupado"));
    setWindowTitle(QStringLiteral("Chequeo de Archivos"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    const auto text = [&](const char* name, const QString& caption) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
        return label;
    };
    m_archivo = text("Label1", QStringLiteral("el archivo []"));
    text("Label2", QStringLiteral("esta siendo ocupado por otro usuario"));
    text("Label3", QStringLiteral("espere un momento por favor..."));
    m_lbError = text("lbError", QString());
    m_lbError->setStyleSheet(QStringLiteral("color: #800000"));
    m_cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    m_cancelar->setObjectName(QStringLiteral("Cancelar"));
    layout->addWidget(m_cancelar, 0, Qt::AlignHCenter);
    connect(m_cancelar, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        done(Rejected);
    });
    m_tiempo = new QTimer(this);
    m_tiempo->setObjectName(QStringLiteral("Tiempo"));
    m_tiempo->setInterval(100);
    connect(m_tiempo, &QTimer::timeout, this, [this] {
        if (m_activated && !stillBusy())
            done(Accepted);
    });
    m_tiempo->start();
    setMinimumWidth(twipsToPixels(5400, this));
}

void Ocupado::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || m_activated)
        return;
    centerForm(this);
    // Closing from inside the show would end the modal loop before it starts.
    QMetaObject::invokeMethod(this, &Ocupado::firstActivation, Qt::QueuedConnection);
}

void Ocupado::firstActivation()
{
    m_activated = true;
    m_cancelled = false;
    if (!stillBusy()) {
        done(Accepted);
        return;
    }
    m_archivo->setText(QStringLiteral(" El Archivo [") + m_path + QStringLiteral("]"));
    repaint();
}

bool Ocupado::stillBusy()
{
    const BusyTest test = m_poll();
    if (test.state != BusyTest::Busy)
        return false;
    m_lbError->setText(qs(test.reason));
    return true;
}

void Ocupado::reject()
{
    m_cancelled = true;
    QDialog::reject();
}

void Ocupado::mouseDoubleClickEvent(QMouseEvent* event)
{
    QDialog::mouseDoubleClickEvent(event);
    m_cancelar->setVisible(!m_cancelar->isVisible());
}

} // namespace orvex
