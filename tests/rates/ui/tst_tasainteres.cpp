#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "rates/ui/tasa_interes.h"
#include "rates/ui/tc.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace orvex;

namespace {

const QStringList kPeriods
    = { QStringLiteral("Año"), QStringLiteral("Semestre"), QStringLiteral("Trimestre"),
          QStringLiteral("Bimestre"), QStringLiteral("Mes"), QStringLiteral("Diario") };

QStringList periodOptions(const QString& side, QChar suffix)
{
    QStringList names;
    for (const QString& p : kPeriods)
        names << p + side + suffix;
    return names;
}

} // namespace

class TstTasaInteres : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_files;
    AppContext m_ctx { m_state, m_messages, m_files };

    template <class T> static T* get(QWidget* window, const QString& name)
    {
        T* w = window->findChild<T*>(name);
        if (!w)
            qWarning("no control %s", qPrintable(name));
        return w;
    }
    static QRadioButton* opt(QWidget* window, const QString& name)
    {
        return get<QRadioButton>(window, name);
    }
    static void choose(QWidget* window, const QString& name)
    {
        QRadioButton* b = opt(window, name);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        QVERIFY2(b->isChecked(), qPrintable(name));
    }
    static void click(QWidget* window, const QString& name)
    {
        QPushButton* b = get<QPushButton>(window, name);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QString result(QWidget* window)
    {
        return get<QLabel>(window, QStringLiteral("TasaDesconocida"))->text();
    }
    static void typeRate(QWidget* window, const QString& text)
    {
        QLineEdit* known = get<QLineEdit>(window, QStringLiteral("TasaConocida"));
        known->clear();
        QTest::keyClicks(known, text);
    }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_messages.shown.clear();
    }

    void controlsHaveTheirNamesAndDefaults()
    {
        TasaInteres w(m_ctx, {});
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Manejo de Tasas de Interes"));
        QVERIFY(get<QLineEdit>(&w, QStringLiteral("TasaConocida")));
        QCOMPARE(get<QLineEdit>(&w, QStringLiteral("TasaConocida"))->text(), QString());
        QCOMPARE(result(&w), QString());
        QCOMPARE(
            get<QPushButton>(&w, QStringLiteral("Calculos"))->text(), QStringLiteral("&Calcular"));
        QCOMPARE(
            get<QPushButton>(&w, QStringLiteral("Boton0"))->text(), QStringLiteral("&Aceptar"));
        QCOMPARE(
            get<QPushButton>(&w, QStringLiteral("Boton1"))->text(), QStringLiteral("Ca&ncelar"));
        QMenu* menu = get<QMenu>(&w, QStringLiteral("Menu0"));
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("Utilidad"));
        QAction* item = w.findChild<QAction*>(QStringLiteral("Menu10"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Tasas Combinadas"));

        const QStringList checked
            = { QStringLiteral("ConocidaEfectiva"), QStringLiteral("ConocidaVencida"),
                  QStringLiteral("AñoConocidoN"), QStringLiteral("AñoConocidoE"),
                  QStringLiteral("DesconocidaEfectiva"), QStringLiteral("DesconocidaVencida"),
                  QStringLiteral("AñoDesconocidoN"), QStringLiteral("MesDesconocidoE") };
        QStringList all;
        for (const QString& side : { QStringLiteral("Conocida"), QStringLiteral("Desconocida") })
            for (const QString& k : { QStringLiteral("Nominal"), QStringLiteral("Efectiva"),
                     QStringLiteral("Vencida"), QStringLiteral("Anticipada") })
                all << side + k;
        for (const QString& side : { QStringLiteral("Conocido"), QStringLiteral("Desconocido") })
            all << periodOptions(side, QLatin1Char('N')) << periodOptions(side, QLatin1Char('E'));
        QCOMPARE(all.size(), 32);
        for (const QString& name : all) {
            QRadioButton* b = opt(&w, name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->isChecked(), checked.contains(name));
        }
        for (const QString& name : periodOptions(QStringLiteral("Conocido"), QLatin1Char('N'))
                + periodOptions(QStringLiteral("Desconocido"), QLatin1Char('N')))
            QVERIFY2(!opt(&w, name)->isEnabled(), qPrintable(name));
        for (const QString& name : periodOptions(QStringLiteral("Conocido"), QLatin1Char('E'))
                + periodOptions(QStringLiteral("Desconocido"), QLatin1Char('E')))
            QVERIFY2(opt(&w, name)->isEnabled(), qPrintable(name));
    }

    void eightGroupsAreIndependent()
    {
        TasaInteres w(m_ctx, {});
        w.show();
        choose(&w, QStringLiteral("ConocidaNominal"));
        choose(&w, QStringLiteral("DesconocidaNominal"));
        choose(&w, QStringLiteral("SemestreConocidoN"));
        choose(&w, QStringLiteral("TrimestreConocidoE"));
        choose(&w, QStringLiteral("BimestreDesconocidoN"));
        choose(&w, QStringLiteral("DiarioDesconocidoE"));
        choose(&w, QStringLiteral("ConocidaAnticipada"));
        const QStringList checked
            = { QStringLiteral("ConocidaNominal"), QStringLiteral("DesconocidaNominal"),
                  QStringLiteral("ConocidaAnticipada"), QStringLiteral("DesconocidaVencida"),
                  QStringLiteral("SemestreConocidoN"), QStringLiteral("TrimestreConocidoE"),
                  QStringLiteral("BimestreDesconocidoN"), QStringLiteral("DiarioDesconocidoE") };
        for (QRadioButton* b : w.findChildren<QRadioButton*>())
            QCOMPARE(b->isChecked(), checked.contains(b->objectName()));
    }

    void referenceFollowsNominal()
    {
        TasaInteres w(m_ctx, {});
        w.show();
        choose(&w, QStringLiteral("ConocidaNominal"));
        for (const QString& name : periodOptions(QStringLiteral("Conocido"), QLatin1Char('N')))
            QVERIFY(opt(&w, name)->isEnabled());
        for (const QString& name : periodOptions(QStringLiteral("Desconocido"), QLatin1Char('N')))
            QVERIFY(!opt(&w, name)->isEnabled());
        choose(&w, QStringLiteral("MesConocidoN"));
        choose(&w, QStringLiteral("ConocidaEfectiva"));
        for (const QString& name : periodOptions(QStringLiteral("Conocido"), QLatin1Char('N')))
            QVERIFY(!opt(&w, name)->isEnabled());
        QVERIFY(opt(&w, QStringLiteral("MesConocidoN"))->isChecked()); // keeps its selection
        choose(&w, QStringLiteral("DesconocidaNominal"));
        for (const QString& name : periodOptions(QStringLiteral("Desconocido"), QLatin1Char('N')))
            QVERIFY(opt(&w, name)->isEnabled());
    }

    void calculatesWhatIsChosen()
    {
        TasaInteres w(m_ctx, {});
        w.show();
        typeRate(&w, QStringLiteral("12"));
        click(&w, QStringLiteral("Calculos"));
        QCOMPARE(result(&w), QStringLiteral("0.9488792935"));

        typeRate(&w, QStringLiteral("24"));
        choose(&w, QStringLiteral("ConocidaNominal"));
        choose(&w, QStringLiteral("MesConocidoE"));
        choose(&w, QStringLiteral("AñoDesconocidoE"));
        click(&w, QStringLiteral("Calculos"));
        QCOMPARE(result(&w), QStringLiteral("26.8241794563"));
        choose(&w, QStringLiteral("DesconocidaAnticipada"));
        click(&w, QStringLiteral("Calculos"));
        QCOMPARE(result(&w), QStringLiteral("21.1506824418"));
        QVERIFY(m_messages.shown.empty());
    }

    void errorsKeepThePreviousResult()
    {
        TasaInteres w(m_ctx, {});
        w.show();
        typeRate(&w, QStringLiteral("12"));
        click(&w, QStringLiteral("Calculos"));
        QCOMPARE(result(&w), QStringLiteral("0.9488792935"));

        // A known nominal rate quoted per month, compounded yearly.
        choose(&w, QStringLiteral("ConocidaNominal"));
        choose(&w, QStringLiteral("MesConocidoN"));
        click(&w, QStringLiteral("Calculos"));
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown[0].text,
            QStringLiteral("Ha cometido un Error en la definición de Periodos"));
        QCOMPARE(m_messages.shown[0].title, QStringLiteral("Error"));
        QCOMPARE(m_messages.shown[0].icon, MsgIcon::Information);
        QCOMPARE(m_messages.shown[0].buttons, MsgButtons::Ok);
        QCOMPARE(result(&w), QStringLiteral("0.9488792935"));

        // 100 % effective anticipada has no vencida equivalent.
        choose(&w, QStringLiteral("ConocidaEfectiva"));
        choose(&w, QStringLiteral("ConocidaAnticipada"));
        typeRate(&w, QStringLiteral("100"));
        click(&w, QStringLiteral("Calculos"));
        QCOMPARE(m_messages.shown.size(), std::size_t(2));
        QCOMPARE(m_messages.shown[1].text,
            QStringLiteral("Error en cálculos, revise la información digitada..."));
        QCOMPARE(m_messages.shown[1].title, QStringLiteral("ERROR"));
        QCOMPARE(m_messages.shown[1].icon, MsgIcon::Critical);
        QCOMPARE(result(&w), QStringLiteral("0.9488792935"));
    }

    void buttonsCopyTheResult_data()
    {
        QTest::addColumn<bool>("loanActive");
        QTest::addColumn<int>("rateField");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("calculated");
        QTest::addColumn<QString>("interes");
        QTest::addColumn<QString>("tasaReal");
        QTest::addColumn<QString>("variacion");
        const QString r = QStringLiteral("0.9488792935");
        const QString old = QStringLiteral("old");
        // Main window: only Aceptar copies.
        QTest::newRow("main aceptar") << false << 0 << 0 << true << r << old << old;
        QTest::newRow("main cancelar") << false << 0 << 1 << true << old << old << old;
        QTest::newRow("main ignores the loan field") << false << 1 << 0 << true << r << old << old;
        QTest::newRow("main aceptar before calcular")
            << false << 0 << 0 << false << QString() << old << old;
        // Loan window: either button, into the field LoanRateField names.
        QTest::newRow("loan real aceptar") << true << 1 << 0 << true << old << r << old;
        QTest::newRow("loan real cancelar") << true << 1 << 1 << true << old << r << old;
        QTest::newRow("loan variation aceptar") << true << 2 << 0 << true << old << old << r;
        QTest::newRow("loan variation cancelar") << true << 2 << 1 << true << old << old << r;
        QTest::newRow("loan other field") << true << 3 << 0 << true << old << old << old;
        QTest::newRow("loan field 0 cancelar") << true << 0 << 1 << true << old << old << old;
        QTest::newRow("loan before calcular") << true << 2 << 1 << false << old << old << QString();
    }

    void buttonsCopyTheResult()
    {
        QFETCH(bool, loanActive);
        QFETCH(int, rateField);
        QFETCH(int, button);
        QFETCH(bool, calculated);
        QLineEdit interesBox(QStringLiteral("old"));
        QLineEdit tasaRealBox(QStringLiteral("old"));
        QLineEdit variacionBox(QStringLiteral("old"));
        QPointer<TasaInteres> w
            = openRateConverter(nullptr, m_ctx, { &interesBox, &tasaRealBox, &variacionBox });
        QCOMPARE(w->windowModality(), Qt::ApplicationModal);
        typeRate(w, QStringLiteral("12"));
        if (calculated)
            click(w, QStringLiteral("Calculos"));
        // The state counts when the button is pressed, not when the window opened.
        m_state.LoanWindowActive = loanActive;
        m_state.LoanRateField = static_cast<std::int16_t>(rateField);
        click(w, QStringLiteral("Boton%1").arg(button));
        QFETCH(QString, interes);
        QFETCH(QString, tasaReal);
        QFETCH(QString, variacion);
        QCOMPARE(interesBox.text(), interes);
        QCOMPARE(tasaRealBox.text(), tasaReal);
        QCOMPARE(variacionBox.text(), variacion);
        QTRY_VERIFY(w.isNull()); // closed and unloaded by either button
    }

    void nextOpeningStartsFromDefaults()
    {
        QLineEdit interes;
        QPointer<TasaInteres> first = openRateConverter(nullptr, m_ctx, { &interes });
        typeRate(first, QStringLiteral("24"));
        choose(first, QStringLiteral("ConocidaNominal"));
        choose(first, QStringLiteral("MesConocidoE"));
        click(first, QStringLiteral("Calculos"));
        click(first, QStringLiteral("Boton0"));
        QCOMPARE(interes.text(), QStringLiteral("2."));
        QTRY_VERIFY(first.isNull());

        QPointer<TasaInteres> second = openRateConverter(nullptr, m_ctx, { &interes });
        QCOMPARE(get<QLineEdit>(second, QStringLiteral("TasaConocida"))->text(), QString());
        QCOMPARE(result(second), QString());
        QVERIFY(opt(second, QStringLiteral("ConocidaEfectiva"))->isChecked());
        QVERIFY(opt(second, QStringLiteral("AñoConocidoE"))->isChecked());
        QVERIFY(!opt(second, QStringLiteral("AñoConocidoN"))->isEnabled());
        second->close();
        QTRY_VERIFY(second.isNull());
        QCOMPARE(interes.text(), QStringLiteral("2.")); // closing the window copies nothing
    }

    void combinedRateBecomesTheKnownRate()
    {
        TasaInteres w(m_ctx, {});
        w.show();
        typeRate(&w, QStringLiteral("99"));
        w.findChild<QAction*>(QStringLiteral("Menu10"))->trigger();
        QPointer<Tc> tc = w.findChild<Tc*>();
        QVERIFY(tc);
        QVERIFY(tc->isVisible());
        QCOMPARE(tc->windowModality(), Qt::ApplicationModal);
        QTest::keyClicks(get<QLineEdit>(tc, QStringLiteral("Componente1")), QStringLiteral("10"));
        QTest::keyClicks(get<QLineEdit>(tc, QStringLiteral("Componente2")), QStringLiteral("5"));
        click(tc, QStringLiteral("Boton0"));
        click(tc, QStringLiteral("Boton1"));
        QCOMPARE(
            get<QLineEdit>(&w, QStringLiteral("TasaConocida"))->text(), QStringLiteral("15.5"));
        QTRY_VERIFY(tc.isNull());

        // The handed-over rate converts like a typed one: 15.5 % a year, per month.
        click(&w, QStringLiteral("Calculos"));
        QCOMPARE(result(&w), QStringLiteral("1.2080751848"));
    }
};

QTEST_MAIN(TstTasaInteres)
#include "tst_tasainteres.moc"
