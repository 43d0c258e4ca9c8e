#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvex {

// "CAJA": asks for one value. The host fills Label1 (the question), Label2 (the default),
// Label3 (non-zero: choose among the files matching the pattern in Label4) and shows the
// window; "&Ok" leaves the answer in Label2, "&Cancela" (or closing) leaves it empty.
// The window is hidden, not destroyed, so the labels stay readable.
//
// Controls: Label1..Label4, Texto (text mode), Codigo (file-list mode, editable),
// Boton0 "&Ok", Boton1 "&Cancela".
class Caja : public QDialog {
    Q_OBJECT
public:
    explicit Caja(QWidget* parent = nullptr);

    QLabel* label(int n) const { return m_label[static_cast<std::size_t>(n - 1)]; }
    // Label2's text: the answer after "&Ok", empty after "&Cancela".
    QString answer() const;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void ok();

    std::array<QLabel*, 4> m_label {};
    QLineEdit* m_texto = nullptr;
    QComboBox* m_codigo = nullptr;
    std::array<QPushButton*, 2> m_boton {};
};

} // namespace orvex
