#include "printing/ui/imprime.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "printing/character_printer.h"
#include "printing/print_error.h"
#include "printing/ui/character_job.h"
#include "printing/ui/qt_page_canvas.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvex {
namespace {

bool showPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    // No selection and no page numbers (the window has its own); printing to a file stays,
    // since here that is the PDF a person asks for.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    return dialog.exec() == QDialog::Accepted;
}

// A field's number as the window reads it, rounded to a 16-bit integer.
std::int16_t fieldNumber(const QLineEdit* field)
{
    return toInt16(leadingNumber(us(field->text())));
}

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

Imprime::Imprime(MessageService& messages, ProcessLauncher& launcher, QWidget* parent)
    : QDialog(parent)
    , m_messages(messages)
    , m_launcher(launcher)
    , m_printer(QPrinter::HighResolution)
{
    choosePrinter = showPrintDialog;
    setObjectName(QStringLiteral("Imprime"));
    setWindowTitle(QStringLiteral("Imprimir Archivo"));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);
    setAutoFillBackground(true);
    new QVBoxLayout(this);
    createFields();
    createDestinations();
    createButtons();
    adjustSize();
    centerForm(this);
    showPrinterName();
}

void Imprime::createFields()
{
    auto* box = static_cast<QVBoxLayout*>(layout());
    m_archivo = new QLabel(QStringLiteral("Nombre del Archivo"), this);
    m_archivo->setObjectName(QStringLiteral("Archivo"));
    m_archivo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->addWidget(m_archivo);

    auto* pages = new QHBoxLayout;
    auto* label1 = new QLabel(QStringLiteral("Páginas :"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    m_paginas = new QLabel(this);
    m_paginas->setObjectName(QStringLiteral("Paginas"));
    pages->addWidget(label1);
    pages->addWidget(m_paginas, 1);
    box->addLayout(pages);

    m_frame1 = new QGroupBox(QStringLiteral("Páginas"), this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    auto* range = new QGridLayout(m_frame1);
    const QString captions[] = { QStringLiteral("Inicial :"), QStringLiteral("Final :") };
    for (int i = 0; i < 2; ++i) {
        m_label2[i] = new QLabel(captions[i], m_frame1);
        m_label2[i]->setObjectName(QStringLiteral("Label2%1").arg(i));
        m_pagina[i] = new QLineEdit(m_frame1);
        m_pagina[i]->setObjectName(QStringLiteral("Pagina%1").arg(i));
        m_pagina[i]->installEventFilter(this);
        range->addWidget(m_label2[i], 0, 2 * i);
        range->addWidget(m_pagina[i], 0, 2 * i + 1);
        connect(m_pagina[i], &QLineEdit::textChanged, this, &Imprime::pageChanged);
    }
    m_frame3 = new QGroupBox(QStringLiteral("Copias"), this);
    m_frame3->setObjectName(QStringLiteral("Frame3"));
    m_copias = new QLineEdit(QStringLiteral("1"), m_frame3);
    m_copias->setObjectName(QStringLiteral("Copias"));
    m_copias->installEventFilter(this);
    (new QVBoxLayout(m_frame3))->addWidget(m_copias);
    auto* row = new QHBoxLayout;
    row->addWidget(m_frame1, 2);
    row->addWidget(m_frame3, 1);
    box->addLayout(row);
}

void Imprime::createDestinations()
{
    auto* frame2 = new QGroupBox(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* options = new QHBoxLayout(frame2);
    const QString captions[] = { QStringLiteral("&Pantalla"), QStringLiteral("&Impresora"),
        QStringLiteral("Impresora MS-&DOS") };
    for (int i = 0; i < 3; ++i) {
        m_destination[i] = new QRadioButton(captions[i], frame2);
        m_destination[i]->setObjectName(QStringLiteral("PantallaImpresora%1").arg(i));
        m_destination[i]->installEventFilter(this);
        options->addWidget(m_destination[i]);
        connect(m_destination[i], &QRadioButton::toggled, this, &Imprime::destinationChanged);
    }
    m_destination[1]->setChecked(true);
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->addWidget(frame2);

    auto* printerRow = new QHBoxLayout;
    m_btnImpresora = new QPushButton(QStringLiteral("I&mpresora"), this);
    m_btnImpresora->setObjectName(QStringLiteral("btnImpresora"));
    m_btnImpresora->setAutoDefault(false);
    m_lbImpresora = new QLabel(this);
    m_lbImpresora->setObjectName(QStringLiteral("lbImpresora"));
    m_lbImpresora->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    printerRow->addWidget(m_btnImpresora);
    printerRow->addWidget(m_lbImpresora, 1);
    box->addLayout(printerRow);
    connect(m_btnImpresora, &QPushButton::clicked, this, &Imprime::chooseThePrinter);
}

void Imprime::createButtons()
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    const QString captions[] = { QStringLiteral("&Aceptar"), QStringLiteral("&Salir") };
    for (int i = 0; i < 2; ++i) {
        m_boton[i] = new QPushButton(captions[i], this);
        m_boton[i]->setObjectName(QStringLiteral("Boton%1").arg(i));
        row->addWidget(m_boton[i]);
    }
    m_boton[0]->setDefault(true);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(m_boton[0], &QPushButton::clicked, this, &Imprime::aceptar);
    connect(m_boton[1], &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    auto* bmp = new QLabel(this);
    bmp->setObjectName(QStringLiteral("bmp"));
    bmp->hide();
}

void Imprime::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        activate();
}

void Imprime::activate()
{
    loadPrintSettings(m_settings);
    cargarParametros(m_archivo->text());
}

bool Imprime::cargarParametros(const QString& file)
{
    m_paginas->clear();
    m_preparedFor.clear();
    if (!fileExists(us(file)))
        return false;
    try {
        BusyCursor busy;
        m_parameters = prepareReport(us(file), m_settings);
    } catch (const std::exception&) {
        printError();
        return false;
    }
    m_preparedFor = file;
    m_paginas->setText(qs(pageCountText(m_parameters)));
    return true;
}

QString Imprime::ajusteAnchoMaximoDOS(const QString& line) const
{
    return qs(cp1252ToUtf8(ajusteAnchoMaximoDos(utf8ToCp1252(us(line)), m_parameters.widest)));
}

bool Imprime::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_pagina[1])
            lastPageFocused();
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, field, [field] { selectAllText(field); });
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QRadioButton*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_boton[0]->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Imprime::destinationChanged()
{
    const bool paged = !m_destination[0]->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*> {
             m_frame1, m_label2[0], m_label2[1], m_pagina[0], m_pagina[1], m_copias, m_frame3 })
        w->setEnabled(paged);
}

void Imprime::pageChanged()
{
    try {
        m_boton[0]->setEnabled(
            leadingNumber(us(m_pagina[1]->text())) >= leadingNumber(us(m_pagina[0]->text())));
    } catch (const CalcError&) {
        m_boton[0]->setEnabled(false);
    }
}

void Imprime::lastPageFocused()
{
    try {
        if (leadingNumber(us(m_pagina[0]->text())) > leadingNumber(us(m_pagina[1]->text())))
            m_pagina[1]->setText(m_pagina[0]->text());
    } catch (const CalcError&) {
    }
}

void Imprime::chooseThePrinter()
{
    choosePrinter(m_printer, this);
    showPrinterName();
    m_boton[0]->setFocus();
}

void Imprime::showPrinterName()
{
    m_lbImpresora->setText(m_printer.outputFormat() == QPrinter::PdfFormat
            ? m_printer.outputFileName()
            : m_printer.printerName());
}

void Imprime::aceptar()
{
    if (m_destination[0]->isChecked()) {
        verEnPantalla();
    } else {
        try {
            imprimirArchivo(m_archivo->text(), fieldNumber(m_pagina[0]), fieldNumber(m_pagina[1]),
                fieldNumber(m_copias), m_destination[2]->isChecked());
        } catch (const CalcError&) {
            printError();
        }
    }
    m_boton[1]->setFocus();
}

void Imprime::verEnPantalla()
{
    const QString prepared = qs(m_parameters.preparedFile);
    if (m_preparedFor.isEmpty() || prepared.isEmpty())
        return;
    QString viewer = qs(cp1252ToUtf8(trim(m_settings.visorInformes)));
    if (viewer.isEmpty())
        viewer = QStringLiteral("Q.PIF");
    // The viewer named in the settings when this system has it (the DOS "Q.COM" and
    // "Q.PIF" it has not), else the desktop's own viewer for text.
    QStringList command = QProcess::splitCommand(viewer);
    const QString program = command.isEmpty() ? QString() : m_launcher.findProgram(command[0]);
    if (!program.isEmpty()) {
        command.removeFirst();
        if (m_launcher.startDetached(program, command << prepared))
            return;
    }
    m_launcher.openWithDesktop(prepared);
}

void Imprime::imprimirArchivo(const QString& file, int first, int last, int copies, bool character)
{
    const std::string report = us(file);
    if (!fileExists(report))
        return;
    bool failed = false;
    {
        BusyCursor busy;
        try {
            // The report may have changed name since the window was shown.
            if (m_preparedFor != file)
                m_parameters = prepareReport(report, m_settings, false);
            const PrintRange range { first, last, copies };
            if (character) {
                printReportOnCharacterPrinter(m_launcher, report, m_parameters, m_settings, range);
            } else {
                // The window makes the copies; the printer prints each page once.
                m_printer.setCopyCount(1);
                printReportOnPrinter(m_printer, report, m_parameters, m_settings, range);
            }
        } catch (const std::exception&) {
            failed = true;
        }
    }
    if (failed)
        printError();
}

void Imprime::printError()
{
    m_messages.show(this,
        { QString::fromUtf8(kPrintErrorMessage), QString::fromUtf8(kPrintErrorTitle),
            MsgIcon::Critical, MsgButtons::Ok });
}

} // namespace orvex
