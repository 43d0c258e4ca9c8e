#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace orvex {

class MessageService;

// "DIRECTORIO": picks, types or creates a directory. The host puts the starting
// directory in with setChosen before showing it and reads chosen() after it closes: the
// path as typed, or an empty text when the user cancelled.
//
// Controls: CualDir (the path), Drive1 (the mounted volumes), Dir1 (the directory tree of
// the chosen volume), Boton0 "&Aceptar", Boton1 "&Cancelar".
class Directorio : public QDialog {
    Q_OBJECT
public:
    explicit Directorio(MessageService& messages, QWidget* parent = nullptr);

    void setChosen(const QString& directory) { m_chosen = directory; }
    QString chosen() const { return m_chosen; }

    void aceptar();
    void cancelar();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDrives();
    void pointListsAt(const QString& path);
    void showDrive(int index);
    void directoryChosen(const QModelIndex& index, bool focusPath);
    void revealTarget();

    MessageService& m_messages;
    QString m_chosen;
    bool m_following = false; // the program itself moves the lists
    QString m_target; // where the tree is being pointed while its folders load
    QLineEdit* m_cualDir = nullptr;
    QComboBox* m_drive1 = nullptr;
    QTreeView* m_dir1 = nullptr;
    QFileSystemModel* m_tree = nullptr;
    QPushButton* m_aceptar = nullptr;
    QPushButton* m_cancelar = nullptr;
};

// The in-process road: shows Directorio modally on initial and returns the chosen
// directory, empty when cancelled.
QString elegirDirectorio(
    const QString& initial, MessageService& messages, QWidget* parent = nullptr);

} // namespace orvex
