#include "../../hostile_input.h"
#include "../../ui_test_util.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "rates/ui/tasa_interes.h"
#include "rates/ui/tc.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QtTest>

namespace orvex::test {

struct RateUi : AppUi {
    // The messages shown so far, one line each: "icon title: text".
    QString shown() const
    {
        const char* icons[] = { "none", "critical", "question", "exclamation", "information" };
        QStringList lines;
        for (const MessageRequest& m : messages.shown)
            lines << icons[static_cast<int>(m.icon)] + (' ' + m.title) + ": " + m.text;
        return lines.join('\n');
    }
};

// Clicks each of the space-separated buttons near its left edge, where a radio
// button has its circle.
inline void click(QWidget* window, const QString& names)
{
    for (const QString& name : names.split(' ', Qt::SkipEmptyParts)) {
        QAbstractButton* b = child<QAbstractButton>(window, name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
}

inline void type(QWidget* window, const QString& name, const QString& text)
{
    QLineEdit* box = child<QLineEdit>(window, name);
    box->clear();
    QTest::keyClicks(box, text);
}

// A QtTest data table of text columns; each row starts with its name.
inline void table(
    std::initializer_list<const char*> columns, std::initializer_list<QStringList> rows)
{
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QStringList& row : rows) {
        QTestData& data = QTest::newRow(qPrintable(row[0]));
        for (qsizetype i = 1; i < row.size(); ++i)
            data << row[i];
    }
}

// The text of a label or a text box.
inline QString textOf(QWidget* window, const QString& name)
{
    return child(window, name)->property("text").toString();
}

} // namespace orvex::test

using namespace orvex;
using namespace orvex::test;

namespace {

const QString kFirstResult = "0.9488792935"; // 12 % a year, per month
const QString kCalcError = "critical ERROR: Error en cálculos, revise la información digitada...";

// The 32 options: each exists, is checked only if listed, and a reference option
// (suffix N) is enabled only while its rate is nominal.
void verifyOptions(QWidget* window, const QString& checkedNames)
{
    const QStringList checked = checkedNames.split(' ');
    QCOMPARE(window->findChildren<QRadioButton*>().size(), 32);
    QStringList names;
    for (QString side : { "Conocida", "Desconocida" })
        for (const char* option : { "Nominal", "Efectiva", "Vencida", "Anticipada" })
            names << side + option;
    for (QString p : { "Año", "Semestre", "Trimestre", "Bimestre", "Mes", "Diario" })
        names << p + "ConocidoN" << p + "ConocidoE" << p + "DesconocidoN" << p + "DesconocidoE";
    for (const QString& name : names) {
        const QRadioButton* b = child<QRadioButton>(window, name);
        const bool wanted = name.contains("Desconocid");
        const bool nominal = checked.contains(wanted ? "DesconocidaNominal" : "ConocidaNominal");
        QVERIFY2(b->isChecked() == checked.contains(name), qPrintable(name));
        QVERIFY2(b->isEnabled() == (!name.endsWith('N') || nominal), qPrintable(name));
    }
}

} // namespace

class TstTasaInteres : public QObject {
    Q_OBJECT
    RateUi m_ui;

private slots:
    void init() { m_ui.reset(); }

    void optionGroupsAreIndependentAndReferencesFollowNominal()
    {
        TasaInteres w(m_ui.ctx, {});
        w.show();
        QCOMPARE(textOf(&w, "TasaConocida") + textOf(&w, "TasaDesconocida"), QString());
        verifyOptions(&w,
            "ConocidaEfectiva ConocidaVencida AñoConocidoN AñoConocidoE DesconocidaEfectiva "
            "DesconocidaVencida AñoDesconocidoN MesDesconocidoE");
        click(&w,
            "ConocidaNominal DesconocidaNominal SemestreConocidoN TrimestreConocidoE "
            "BimestreDesconocidoN DiarioDesconocidoE ConocidaAnticipada");
        QString checked = "ConocidaNominal ConocidaAnticipada SemestreConocidoN TrimestreConocidoE "
                          "DesconocidaNominal DesconocidaVencida BimestreDesconocidoN "
                          "DiarioDesconocidoE";
        verifyOptions(&w, checked);
        // Back to effective: the reference is disabled but keeps its choice.
        click(&w, "ConocidaEfectiva DesconocidaEfectiva");
        verifyOptions(&w, checked.replace("Nominal", "Efectiva"));
    }

    void convertsWhatIsChosen_data()
    {
        const QString periods = "information Error: Ha cometido un Error en la definición de "
                                "Periodos";
        table({ "known", "options", "result", "message" },
            {
                { "defaults", "12", "", kFirstResult, "" },
                { "nominal anticipada to nominal", "24",
                    "ConocidaNominal ConocidaAnticipada MesConocidoE DesconocidaNominal "
                    "TrimestreDesconocidoE",
                    "24.9929876157", "" },
                { "known reference shorter", "12", "ConocidaNominal MesConocidoN", "", periods },
                { "no real result", "100", "ConocidaAnticipada", "", kCalcError },
            });
    }

    void convertsWhatIsChosen()
    {
        QFETCH(QString, known);
        QFETCH(QString, options);
        TasaInteres w(m_ui.ctx, {});
        w.show();
        type(&w, "TasaConocida", known);
        click(&w, options + " Calculos");
        QTEST(textOf(&w, "TasaDesconocida"), "result");
        QTEST(m_ui.shown(), "message");
    }

    void buttonsCopyTheResult_data()
    {
        // The opener ("main", or "loan" with LoanRateField) and the fields Interes, Tasa Real
        // and Variacion UVR afterwards; R is the result.
        table({ "opener", "buttons", "fields" },
            {
                // Main window: only Aceptar copies.
                { "main aceptar", "main 0", "Calculos Boton0", "R|old|old" },
                { "main cancelar", "main 0", "Calculos Boton1", "old|old|old" },
                { "main, loan field", "main 1", "Calculos Boton0", "R|old|old" },
                // Loan window: either button, into the field LoanRateField names.
                { "loan real cancelar", "loan 1", "Calculos Boton1", "old|R|old" },
                { "loan variation", "loan 2", "Calculos Boton0", "old|old|R" },
                { "loan other field", "loan 3", "Calculos Boton0", "old|old|old" },
                // No result, or one the inputs no longer match: no field loses its rate.
                { "main before calcular", "main 0", "Boton0", "old|old|old" },
                { "loan cancelar before calcular", "loan 2", "Boton1", "old|old|old" },
                { "option changed after calcular", "loan 1", "Calculos ConocidaNominal Boton0",
                    "old|old|old" },
            });
    }

    void buttonsCopyTheResult()
    {
        QFETCH(QString, opener);
        QFETCH(QString, buttons);
        QFETCH(QString, fields);
        QLineEdit interes("old"), tasaReal("old"), variacion("old");
        QPointer<TasaInteres> w
            = openRateConverter(nullptr, m_ui.ctx, { &interes, &tasaReal, &variacion });
        QCOMPARE(w->windowModality(), Qt::ApplicationModal);
        type(w, "TasaConocida", "12");
        // The state counts when the button is pressed, not when the window opened.
        m_ui.state.LoanWindowActive = opener.startsWith("loan");
        m_ui.state.LoanRateField = opener.section(' ', 1).toShort();
        click(w, buttons);
        QCOMPARE(interes.text() + '|' + tasaReal.text() + '|' + variacion.text(),
            fields.replace("R", kFirstResult));
        QTRY_VERIFY(w.isNull()); // closed and unloaded by either button
    }

    void combinedRateWindowFillsTheKnownRate_data()
    {
        // Converted: the known rate a year, per month. An edit after Calcular empties the
        // result, and an empty result passes nothing.
        table({ "components", "edit", "buttons", "shown", "known", "converted", "message" },
            {
                { "aceptar", "10 5", "", "Boton0 Boton1", "15.5", "15.5", "1.2080751848", "" },
                { "edit after calcular", "10 5", "50", "Boton0 Boton1", "", "99", "5.902063652",
                    "" },
                { "salir", "10 5", "", "Boton0 Boton2", "15.5", "99", "5.902063652", "" },
                { "beyond a double", "1e200 1e200", "", "Boton0 Boton1", "", "99", "5.902063652",
                    kCalcError },
            });
    }

    void combinedRateWindowFillsTheKnownRate()
    {
        QFETCH(QString, components);
        QFETCH(QString, edit);
        QFETCH(QString, buttons);
        TasaInteres w(m_ui.ctx, {});
        w.show();
        type(&w, "TasaConocida", "99");
        click(&w, "Calculos");
        child<QAction>(&w, "Menu10")->trigger();
        QPointer<Tc> tc = w.findChild<Tc*>();
        QVERIFY(tc && tc->isVisible() && tc->windowModality() == Qt::ApplicationModal);
        type(tc, "Componente1", components.section(' ', 0, 0));
        type(tc, "Componente2", components.section(' ', 1));
        click(tc, buttons.section(' ', 0, -2));
        if (!edit.isEmpty())
            type(tc, "Componente1", edit);
        QTEST(textOf(tc, "TCombinada"), "shown");
        click(tc, buttons.section(' ', -1));
        QTEST(textOf(&w, "TasaConocida"), "known");
        QTRY_VERIFY(tc.isNull());
        // A known rate that changed empties the old result, so Aceptar cannot send it.
        if (textOf(&w, "TasaConocida") != "99")
            QCOMPARE(textOf(&w, "TasaDesconocida"), QString());
        click(&w, "Calculos");
        QTEST(textOf(&w, "TasaDesconocida"), "converted");
        QTEST(m_ui.shown(), "message");
    }

    // Bad input ends in a finite result or a message, for both windows.
    void hostileTextsEndInAResultOrAMessage()
    {
        TasaInteres w(m_ui.ctx, {});
        w.show();
        auto answered = [this](QWidget* window, const char* result) {
            return [this, window, result](const QString& field, const QString& text) {
                if (field != result && !text.trimmed().isEmpty()
                    && textOf(window, result).isEmpty())
                    QVERIFY2(!m_ui.messages.shown.empty(), qPrintable(text.left(20)));
                m_ui.messages.shown.clear();
            };
        };
        pasteHostileEverywhere(
            &w, [&] { click(&w, "Calculos"); }, answered(&w, "TasaDesconocida"));
        child<QAction>(&w, "Menu10")->trigger();
        QPointer<Tc> tc = w.findChild<Tc*>();
        QVERIFY(tc);
        pasteHostileEverywhere(
            tc, [&] { click(tc, "Boton0"); }, answered(tc, "TCombinada"));
    }
};

QTEST_MAIN(TstTasaInteres)
#include "tst_tasainteres.moc"
