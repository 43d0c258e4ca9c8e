#include "printing/ui/caja.h"

#include "common/calc_error.h"
#include "common/numbers.h"
#include "common/ui/widgets.h"
#include "printing/input_box.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvex {

Caja::Caja(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Caja"));
    setWindowTitle(QStringLiteral("CAJA"));
    auto* box = new QVBoxLayout(this);
    const QString texts[] = { QStringLiteral("Label1"), QStringLiteral("Defecto"),
        QStringLiteral("SNLista Archivos"), QStringLiteral("Lista") };
    for (int i = 0; i < 4; ++i) {
        m_label[i] = new QLabel(texts[i], this);
        m_label[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        box->addWidget(m_label[i]);
        // Labels 2 to 4 carry the host's parameters, not text for the person.
        m_label[i]->setVisible(i == 0);
    }
    m_label[0]->setWordWrap(true);
    m_texto = new QLineEdit(this);
    m_texto->setObjectName(QStringLiteral("Texto"));
    m_codigo = new QComboBox(this);
    m_codigo->setObjectName(QStringLiteral("Codigo"));
    m_codigo->setEditable(true);
    m_codigo->setInsertPolicy(QComboBox::NoInsert);
    for (QWidget* entry : std::initializer_list<QWidget*> { m_texto, m_codigo }) {
        entry->installEventFilter(this);
        entry->hide();
        box->addWidget(entry);
    }
    m_codigo->lineEdit()->installEventFilter(this);

    auto* row = new QHBoxLayout;
    row->addStretch();
    const QString captions[] = { QStringLiteral("&Ok"), QStringLiteral("&Cancela") };
    for (int i = 0; i < 2; ++i) {
        m_boton[i] = new QPushButton(captions[i], this);
        m_boton[i]->setObjectName(QStringLiteral("Boton%1").arg(i));
        m_boton[i]->setAutoDefault(false);
        row->addWidget(m_boton[i]);
    }
    box->addLayout(row);
    connect(m_boton[0], &QPushButton::clicked, this, &Caja::ok);
    connect(m_boton[1], &QPushButton::clicked, this, &Caja::reject);
    setMinimumWidth(twipsToPixels(4800, this));
}

QString Caja::answer() const { return m_label[1]->text(); }

void Caja::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        activate();
}

void Caja::activate()
{
    m_texto->hide();
    m_codigo->hide();
    bool listMode = false;
    try {
        listMode = leadingNumber(us(m_label[2]->text())) != 0;
    } catch (const CalcError&) {
        listMode = true; // a number too large to hold is still not zero
    }
    if (!listMode) {
        m_texto->setText(m_label[1]->text());
        m_texto->show();
        m_texto->setFocus();
        return;
    }
    m_codigo->clear();
    for (const std::string& name : inputBoxFileList(us(m_label[3]->text())))
        m_codigo->addItem(qs(name).toUpper());
    m_codigo->setCurrentIndex(m_codigo->findText(m_label[1]->text().toUpper(), Qt::MatchExactly));
    m_codigo->show();
    m_codigo->setFocus();
}

bool Caja::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ok();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && watched == m_texto) {
        QTimer::singleShot(0, m_texto, [this] { selectAllText(m_texto); });
    }
    return QDialog::eventFilter(watched, event);
}

void Caja::ok()
{
    m_label[1]->setText(m_texto->isVisibleTo(this) ? m_texto->text() : m_codigo->currentText());
    done(QDialog::Accepted);
}

void Caja::reject()
{
    m_label[1]->clear();
    QDialog::reject();
}

} // namespace orvex
