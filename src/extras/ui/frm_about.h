#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvex {

struct AppContext;

// "Acerca de Orvex": the program's icon, title, version, description and a disclaimer,
// and a button that starts a system-information program. Object names: picIcon, lblTitle,
// lblVersion, lblDescription, lblDisclaimer, Line1, cmdOK, cmdSysInfo.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(AppContext& ctx, QWidget* parent = nullptr);

    // Starts the first program of kSystemInfoPrograms that is installed and starts, through
    // the context's launcher; when there is none, says so in a message box.
    void startSysInfo();

private:
    void createTexts();
    void createButtons();

    AppContext& m_ctx;
    QLabel* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_sysInfo = nullptr;
};

// The program's name and version text as the About box shows them ("Versión 1.0.12").
QString programName();
QString versionText();

} // namespace orvex
