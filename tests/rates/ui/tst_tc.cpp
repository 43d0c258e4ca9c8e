#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "rates/ui/tc.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace orvex;

class TstTc : public QObject {
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
    static void click(QWidget* window, const QString& name)
    {
        QTest::mouseClick(get<QPushButton>(window, name), Qt::LeftButton);
    }
    static void type(QWidget* window, const QString& name, const QString& text)
    {
        QLineEdit* box = get<QLineEdit>(window, name);
        box->clear();
        QTest::keyClicks(box, text);
    }
    static QString result(QWidget* window)
    {
        return get<QLabel>(window, QStringLiteral("TCombinada"))->text();
    }

private slots:
    void init() { m_messages.shown.clear(); }

    void controlsHaveTheirNamesAndDefaults()
    {
        QLineEdit known;
        Tc w(m_ctx, &known);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Tasa Combinada"));
        QCOMPARE(get<QLineEdit>(&w, QStringLiteral("Componente1"))->text(), QString());
        QCOMPARE(get<QLineEdit>(&w, QStringLiteral("Componente2"))->text(), QString());
        QCOMPARE(get<QLabel>(&w, QStringLiteral("TasaCombinada"))->text(),
            QStringLiteral("Tasa Combinada :"));
        QCOMPARE(result(&w), QString());
        QCOMPARE(
            get<QPushButton>(&w, QStringLiteral("Boton0"))->text(), QStringLiteral("&Calcular"));
        QCOMPARE(
            get<QPushButton>(&w, QStringLiteral("Boton1"))->text(), QStringLiteral("&Aceptar"));
        QCOMPARE(get<QPushButton>(&w, QStringLiteral("Boton2"))->text(), QStringLiteral("&Salir"));
    }

    void calculates_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("combined");
        QTest::newRow("10 and 5") << "10"
                                  << "5"
                                  << "15.5";
        QTest::newRow("2 and 3") << "2"
                                 << "3"
                                 << "5.06";
        QTest::newRow("1.5 and 20") << "1.5"
                                    << "20"
                                    << "21.8";
        QTest::newRow("-3 and 4") << "-3"
                                  << "4"
                                  << "0.88";
        QTest::newRow("both empty") << ""
                                    << ""
                                    << "0.";
        QTest::newRow("text counts as 0") << "abc"
                                          << "12.5"
                                          << "12.5";
    }

    void calculates()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, combined);
        QLineEdit known;
        Tc w(m_ctx, &known);
        w.show();
        type(&w, QStringLiteral("Componente1"), first);
        type(&w, QStringLiteral("Componente2"), second);
        click(&w, QStringLiteral("Boton0"));
        QCOMPARE(result(&w), combined);
        QVERIFY(w.isVisible());
        QCOMPARE(known.text(), QString()); // nothing passed until Aceptar
    }

    void aceptarPassesTheDisplayedText()
    {
        QLineEdit known(QStringLiteral("12"));
        QPointer<Tc> w = openCombinedRateWindow(nullptr, m_ctx, &known);
        type(w, QStringLiteral("Componente1"), QStringLiteral("2"));
        type(w, QStringLiteral("Componente2"), QStringLiteral("3"));
        click(w, QStringLiteral("Boton0"));
        type(w, QStringLiteral("Componente1"), QStringLiteral("50")); // not recalculated
        click(w, QStringLiteral("Boton1"));
        QCOMPARE(known.text(), QStringLiteral("5.06"));
        QTRY_VERIFY(w.isNull());
    }

    void aceptarBeforeCalcularEmptiesTheKnownRate()
    {
        QLineEdit known(QStringLiteral("12"));
        QPointer<Tc> w = openCombinedRateWindow(nullptr, m_ctx, &known);
        type(w, QStringLiteral("Componente1"), QStringLiteral("10"));
        click(w, QStringLiteral("Boton1"));
        QCOMPARE(known.text(), QString());
        QTRY_VERIFY(w.isNull());
    }

    void salirPassesNothing()
    {
        QLineEdit known(QStringLiteral("12"));
        QPointer<Tc> w = openCombinedRateWindow(nullptr, m_ctx, &known);
        type(w, QStringLiteral("Componente1"), QStringLiteral("10"));
        click(w, QStringLiteral("Boton0"));
        click(w, QStringLiteral("Boton2"));
        QCOMPARE(known.text(), QStringLiteral("12"));
        QTRY_VERIFY(w.isNull());
    }

    void resultBeyondADoubleShowsTheCalculationMessage()
    {
        QLineEdit known;
        Tc w(m_ctx, &known);
        w.show();
        type(&w, QStringLiteral("Componente1"), QStringLiteral("10"));
        click(&w, QStringLiteral("Boton0"));
        type(&w, QStringLiteral("Componente1"), QStringLiteral("1e200"));
        type(&w, QStringLiteral("Componente2"), QStringLiteral("1e200"));
        click(&w, QStringLiteral("Boton0"));
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown[0].title, QStringLiteral("ERROR"));
        QCOMPARE(m_messages.shown[0].icon, MsgIcon::Critical);
        QCOMPARE(result(&w), QStringLiteral("10."));
    }
};

QTEST_MAIN(TstTc)
#include "tst_tc.moc"
