#pragma once

#include "records/table_lock.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace orvex {

// "Chequeo de Archivos": shown modally while another user edits a table. It polls the
// table every 100 ms (timer Tiempo) and closes by itself once the table is free;
// Cancelar (visible from the start: a wait can always be cancelled, as can Esc and
// closing the window) ends the wait with the cancel flag set. A double click on the
// window shows or hides Cancelar.
//
// Controls: Label1 (" El Archivo [path]"), Label2, Label3 (the fixed texts), lbError
// (the system's description of the conflict), Cancelar, Tiempo.
class Ocupado : public QDialog {
    Q_OBJECT
public:
    // poll runs the writers' busy test on path; anything but Busy ends the wait.
    Ocupado(const QString& path, std::function<BusyTest()> poll, QWidget* parent = nullptr);

    QString path() const { return m_path; }
    // The cancel flag: true once the user cancelled the wait.
    bool cancelled() const { return m_cancelled; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void firstActivation();
    bool stillBusy();

    QString m_path;
    std::function<BusyTest()> m_poll;
    bool m_activated = false;
    bool m_cancelled = false;
    QLabel* m_archivo = nullptr;
    QLabel* m_lbError = nullptr;
    QPushButton* m_cancelar = nullptr;
    QTimer* m_tiempo = nullptr;
};

} // namespace orvex
