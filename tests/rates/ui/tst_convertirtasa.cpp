#include "app/talvora.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "rates/ui/tasa_interes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>

using namespace orvex;

namespace {

// The main window with its modal children driven in place instead of a modal loop.
class ProbeTalvora : public Talvora {
public:
    using Talvora::Talvora;
    std::function<void(QDialog&)> whileModal;
    int opened = 0;

protected:
    int runModal(QDialog& child) override
    {
        ++opened;
        child.show();
        if (whileModal)
            whileModal(child);
        return child.result();
    }
};

void click(QWidget* window, const char* name)
{
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(name)), Qt::LeftButton);
}

void choose(QWidget* window, const char* name)
{
    auto* b = window->findChild<QRadioButton*>(QString::fromUtf8(name));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

} // namespace

class TstConvertirTasa : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_files;
    AppContext m_ctx { m_state, m_messages, m_files };

    // Opens the converter from the main window, converts 24 % nominal monthly to
    // an effective annual rate, and leaves with the given button.
    void convertAndLeave(ProbeTalvora& main, const char* button)
    {
        main.whileModal = [button](QDialog& converter) {
            QCOMPARE(converter.objectName(), QStringLiteral("TasaInteres"));
            QCOMPARE(converter.windowTitle(), QStringLiteral("Manejo de Tasas de Interes"));
            QTest::keyClicks(converter.findChild<QLineEdit*>(QStringLiteral("TasaConocida")),
                QStringLiteral("24"));
            choose(&converter, "ConocidaNominal");
            choose(&converter, "MesConocidoE");
            choose(&converter, "AñoDesconocidoE");
            click(&converter, "Calculos");
            QCOMPARE(converter.findChild<QLabel*>(QStringLiteral("TasaDesconocida"))->text(),
                QStringLiteral("26.8241794563"));
            click(&converter, button);
            QVERIFY(!converter.isVisible());
        };
        click(&main, "ConvertirTasaInteres");
    }

private slots:
    void aceptarWritesTheMainWindowRate()
    {
        ProbeTalvora main(m_ctx);
        main.show();
        main.interes()->setText(QStringLiteral("5"));
        convertAndLeave(main, "Boton0");
        QCOMPARE(main.opened, 1);
        QCOMPARE(main.interes()->text(), QStringLiteral("26.8241794563"));
        QVERIFY(m_messages.shown.empty());
    }

    void cancelarLeavesItAlone()
    {
        ProbeTalvora main(m_ctx);
        main.show();
        main.interes()->setText(QStringLiteral("5"));
        convertAndLeave(main, "Boton1");
        QCOMPARE(main.opened, 1);
        QCOMPARE(main.interes()->text(), QStringLiteral("5"));
    }

    void everyOpeningStartsFromTheDefaults()
    {
        ProbeTalvora main(m_ctx);
        main.show();
        convertAndLeave(main, "Boton1");
        QString known = QStringLiteral("unset");
        bool efectiva = false;
        main.whileModal = [&](QDialog& converter) {
            known = converter.findChild<QLineEdit*>(QStringLiteral("TasaConocida"))->text();
            efectiva = converter.findChild<QRadioButton*>(QStringLiteral("ConocidaEfectiva"))
                           ->isChecked();
            click(&converter, "Boton1");
        };
        click(&main, "ConvertirTasaInteres");
        QCOMPARE(main.opened, 2);
        QCOMPARE(known, QString());
        QVERIFY(efectiva);
        QVERIFY(main.findChildren<TasaInteres*>().isEmpty()); // nothing of it survives
    }
};

QTEST_MAIN(TstConvertirTasa)
#include "tst_convertirtasa.moc"
