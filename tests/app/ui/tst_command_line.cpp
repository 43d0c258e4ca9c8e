// `orvex ARCHIVO`: what the command line asks for, and the windows it opens.
#include "app/command_line.h"
#include "app/talvora.h"

#include "common/file_io.h"
#include "common/shared_state.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "loans/loan_files.h"
#include "loans/ui/tabla_correccion.h"
#include "loans/ui/upac.h"
#include "worksheet/worksheet_file.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

using namespace orvex;

namespace {

// Talvora whose modal children are looked at in place of a modal loop.
class ProbeTalvora : public Talvora {
public:
    using Talvora::Talvora;
    std::function<void(QDialog&)> onModal;

protected:
    int runModal(QDialog& child) override
    {
        if (onModal)
            onModal(child);
        return QDialog::Accepted;
    }
};

QStringList loanFields(const UPAC& window)
{
    QStringList fields;
    for (int k = 1; k <= 5; ++k)
        fields << window.valores(k)->text();
    for (const char* option : { "SistemaPago1", "SistemaPago2", "SistemaPago3", "Opcion1" })
        if (window.findChild<QRadioButton*>(option)->isChecked())
            fields << option;
    return fields;
}

} // namespace

Q_DECLARE_METATYPE(CommandLine::Action)

class TstCommandLine : public QObject {
    Q_OBJECT

private:
    struct Session {
        SharedState state;
        ScriptedMessageService messages;
        ScriptedFileDialogService dialogs;
        AppContext context { state, messages, dialogs };
        ProbeTalvora window { context };
    };
    std::unique_ptr<Session> m_s;
    QTemporaryDir m_dir;

    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QString cell(int row, int column) const
    {
        const auto* grid = m_s->window.findChild<QTableWidget*>(QStringLiteral("Celdas"));
        return grid->item(row - 1, column - 1)->text();
    }

private slots:
    void init()
    {
        m_s = std::make_unique<Session>();
        m_s->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_s->window));
    }
    void cleanup() { m_s.reset(); }

    void wordsAreRead_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("file");
        using A = CommandLine::Action;
        QTest::newRow("nothing") << QStringList {} << A::Start << "";
        QTest::newRow("a file") << QStringList { "hoja.ORV" } << A::Start << "hoja.ORV";
        QTest::newRow("help wins") << QStringList { "hoja.ORV", "-h" } << A::Help << "";
        QTest::newRow("help after an error") << QStringList { "-x", "--help" } << A::Help << "";
        QTest::newRow("version") << QStringList { "--version" } << A::Version << "";
        QTest::newRow("unknown option") << QStringList { "-x" } << A::Error << "";
        QTest::newRow("two files") << QStringList { "a.ORV", "b.upa" } << A::Error << "";
        QTest::newRow("empty name") << QStringList { "" } << A::Error << "";
        QTest::newRow("dash is a name") << QStringList { "-" } << A::Start << "-";
        QTest::newRow("names after --") << QStringList { "--", "--help" } << A::Start << "--help";
        QTest::newRow("-- then two") << QStringList { "--", "-a", "b" } << A::Error << "";
    }
    void wordsAreRead()
    {
        QFETCH(QStringList, words);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, file);
        std::vector<std::string> raw;
        for (const QString& w : words)
            raw.push_back(us(w));
        const CommandLine line = parseCommandLine(raw);
        QCOMPARE(line.action, action);
        QCOMPARE(qs(line.file), file);
        QCOMPARE(line.error.empty(), action != CommandLine::Action::Error);
    }

    void extensionSaysWhichWindow()
    {
        QCOMPARE(givenFileKind("PRESTAMO.UPA"), GivenFileKind::Loan);
        QCOMPARE(givenFileKind("tabla.Cor"), GivenFileKind::VariationTable);
        QCOMPARE(givenFileKind("hoja.orv"), GivenFileKind::Worksheet);
        QCOMPARE(givenFileKind("sin-extension"), GivenFileKind::Worksheet);
        QCOMPARE(givenFileKind("prestamos.upa/hoja"), GivenFileKind::Worksheet);
        QCOMPARE(givenFileKind("upa"), GivenFileKind::Worksheet);
    }

    // A worksheet comes up in the grid and the caption as "Abrir" leaves them, under
    // any extension; no other window opens.
    void worksheetOpensInTheGrid()
    {
        Worksheet sheet;
        sheet.setRate("1.5");
        sheet.setCell(1, kColTipo, std::string(kKindTexts[0]));
        sheet.setCell(1, kColValor, "-10000");
        sheet.setCell(1, 3, "0");
        sheet.setCell(5, kColTipo, std::string(kKindTexts[1]));
        sheet.setCell(5, kColValor, "Incognita");
        sheet.setCell(5, 3, "1");
        sheet.setCell(5, 4, "12");
        for (const char* name : { "cuota.orv", "cuota.ORV.bak" }) {
            init();
            const QString file = path(name);
            saveWorksheetFile(us(file), sheet);
            bool modal = false;
            m_s->window.onModal = [&](QDialog&) { modal = true; };
            m_s->window.openGivenFile(file);
            QCOMPARE(cell(1, 1), qs(std::string(kKindTexts[0])));
            QCOMPARE(cell(1, 2), QStringLiteral("-10000"));
            QCOMPARE(cell(2, 1), qs(std::string(kKindTexts[1])));
            QCOMPARE(cell(2, 2), QStringLiteral("Incognita"));
            QCOMPARE(cell(2, 4), QStringLiteral("12"));
            QCOMPARE(cell(3, 1), QString());
            QCOMPARE(m_s->window.interes()->text(), QStringLiteral("1.5"));
            QCOMPARE(m_s->window.windowTitle(), "TALVORA [" + file + "]");
            QVERIFY(m_s->messages.shown.empty());
            QVERIFY(!modal);
        }
    }

    // As with "Abrir": a missing worksheet is created only when the person says so.
    void missingWorksheetIsCreatedOnlyWhenAsked()
    {
        const QString file = path("nueva.ORV");
        m_s->messages.answers = { MsgAnswer::No };
        m_s->window.openGivenFile(file);
        QCOMPARE(m_s->messages.shown.size(), std::size_t { 1 });
        QVERIFY(m_s->messages.shown[0].text.contains(file));
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(m_s->window.windowTitle(), QStringLiteral("TALVORA"));

        m_s->messages.answers = { MsgAnswer::Yes };
        m_s->window.openGivenFile(file);
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(m_s->window.windowTitle(), "TALVORA [" + file + "]");
    }

    // A loan opens the loan window with the file loaded; back on the worksheet after.
    void loanOpensLoaded()
    {
        LoanInput loan;
        loan.texts = { "1200000", "100", "12", "1", "0.5" };
        loan.system = PaymentSystem::PresetPayments;
        loan.enUvr = true;
        const QString file = path("casa.UPA");
        saveLoanFile(us(file), loan);
        QStringList seen;
        m_s->window.onModal = [&](QDialog& child) {
            if (auto* upac = qobject_cast<UPAC*>(&child))
                seen = loanFields(*upac);
        };
        m_s->window.openGivenFile(file);
        QCOMPARE(seen,
            QStringList({ "1200000        ", "100            ", "12    ", "1        ", "0.5      ",
                "SistemaPago3", "Opcion1" }));
        QVERIFY(m_s->messages.shown.empty());
        QVERIFY(!m_s->state.LoanWindowActive);
    }

    void unreadableLoanLeavesTheWindowEmpty()
    {
        const QString file = path("corto.upa");
        writeFileAtomically(us(file), "1200000");
        QStringList seen;
        m_s->window.onModal = [&](QDialog& child) {
            if (auto* upac = qobject_cast<UPAC*>(&child))
                seen = loanFields(*upac);
        };
        m_s->window.openGivenFile(file);
        QCOMPARE(m_s->messages.shown.size(), std::size_t { 1 });
        QCOMPARE(m_s->messages.shown[0].title, QStringLiteral("ERROR"));
        QCOMPARE(seen, QStringList({ "", "", "", "", "", "SistemaPago1" }));
    }

    // A variation table comes up over the loan window, loaded, its months the file's.
    void variationTableOpensOverTheLoanWindow()
    {
        std::vector<std::string> rates(13);
        rates[0] = "0.4";
        rates[12] = "0.7";
        const QString file = path("tabla.cor");
        saveVariationFile(us(file), rates);
        QStringList order;
        QString term;
        QStringList shown;
        m_s->window.onModal = [&](QDialog& child) {
            order << child.objectName();
            if (auto* upac = qobject_cast<UPAC*>(&child)) {
                QCoreApplication::processEvents();
                term = upac->valores(3)->text();
            } else if (auto* table = qobject_cast<TablaCorreccion*>(&child)) {
                shown = table->rateTexts();
            }
        };
        m_s->window.openGivenFile(file);
        QCOMPARE(order, QStringList({ "UPAC", "TablaCorreccion" }));
        QCOMPARE(term, QStringLiteral("12"));
        QCOMPARE(shown.size(), 13);
        QCOMPARE(shown.first(), QStringLiteral("0.4"));
        QCOMPARE(shown.last(), QStringLiteral("0.7"));
    }

    void emptyVariationTableOpensNoTable()
    {
        const QString file = path("vacia.cor");
        writeFileAtomically(us(file), "");
        QStringList order;
        m_s->window.onModal = [&](QDialog& child) {
            order << child.objectName();
            QCoreApplication::processEvents();
        };
        m_s->window.openGivenFile(file);
        QCOMPARE(order, QStringList({ "UPAC" }));
        QCOMPARE(m_s->messages.shown.size(), std::size_t { 1 });
        QVERIFY(m_s->messages.shown[0].text.contains(QStringLiteral("vacío")));
    }
};

QTEST_MAIN(TstCommandLine)
#include "tst_command_line.moc"
