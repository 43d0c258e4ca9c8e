#pragma once

#include "worksheet/calculation.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvex {

// The evaluation window: VPN, B/C and TIR of the worksheet, one row each.
// Controls: LabelComentario1..3 (what), LabelRespuesta1..3 (the value), Cerrar.
class Respuestas : public QDialog {
    Q_OBJECT

public:
    explicit Respuestas(const CalcOutcome::Evaluation& evaluation, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addRow(int index, int top, const char* caption, const std::string& value);

    QPushButton* m_cerrar = nullptr;
    bool m_centred = false;
};

} // namespace orvex
