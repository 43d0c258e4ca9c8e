#pragma once

#include "printing/print_settings.h"
#include "printing/report_preparation.h"

#include <QDialog>
#include <QPrinter>
#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvex {

class MessageService;
class ProcessLauncher;

// "Imprimir Archivo": prints the report named in Archivo to the screen viewer, a page
// printer (a system printer or a PDF file) or the character printer. A host sets Archivo
// and shows the window; every showing loads the settings and prepares the report;
// "&Salir" hides the window (it stays for the next report).
//
// Controls: Archivo, Label1, Paginas, Frame1 with Label20/Label21 and Pagina0/Pagina1
// (first and last page), Frame3 with Copias, Frame2 with PantallaImpresora0..2
// (screen, printer, character printer), btnImpresora and lbImpresora, Boton0
// "&Aceptar", Boton1 "&Salir", bmp (hidden).
class Imprime : public QDialog {
    Q_OBJECT
public:
    Imprime(MessageService& messages, ProcessLauncher& launcher, QWidget* parent = nullptr);

    QLabel* archivo() const { return m_archivo; }
    QPrinter& printer() { return m_printer; }
    const PrintSettings& settings() const { return m_settings; }
    const ReportParameters& parameters() const { return m_parameters; }

    // CargarParametros: prepares file (writes its prepared copy) and shows its page count.
    // False, with the print message shown, when it cannot be read; a missing file only
    // empties Paginas.
    bool cargarParametros(const QString& file);
    // AjusteAnchoMaximoDOS with the prepared report's widest line.
    QString ajusteAnchoMaximoDOS(const QString& line) const;

    // The system's printer dialog; a test puts its own answer here.
    std::function<bool(QPrinter&, QWidget*)> choosePrinter;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createFields();
    void createDestinations();
    void createButtons();
    void activate();
    void destinationChanged();
    void pageChanged();
    void lastPageFocused();
    void chooseThePrinter();
    void showPrinterName();
    void aceptar();
    void verEnPantalla();
    void imprimirArchivo(const QString& file, int first, int last, int copies, bool character);
    void printError();

    MessageService& m_messages;
    ProcessLauncher& m_launcher;
    QPrinter m_printer;
    PrintSettings m_settings;
    ReportParameters m_parameters;
    QString m_preparedFor;

    QLabel* m_archivo = nullptr;
    QLabel* m_paginas = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame3 = nullptr;
    std::array<QLabel*, 2> m_label2 {};
    std::array<QLineEdit*, 2> m_pagina {};
    QLineEdit* m_copias = nullptr;
    std::array<QRadioButton*, 3> m_destination {};
    QPushButton* m_btnImpresora = nullptr;
    QLabel* m_lbImpresora = nullptr;
    std::array<QPushButton*, 2> m_boton {};
};

} // namespace orvex
