#include "app/talvora.h"
#include "rates/ui/tasa_interes.h"
#include "rates_ui_test_util.h"

#include <QRadioButton>

#include <functional>

using namespace orvex;
using namespace orvex::test;

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
        whileModal(child);
        return child.result();
    }
};

} // namespace

class TstConvertirTasa : public QObject {
    Q_OBJECT
    RateUi m_ui;

private slots:
    void aceptarWritesTheMainWindowRateAndTheNextOpeningStartsAfresh()
    {
        ProbeTalvora main(m_ui.ctx);
        main.show();
        main.interes()->setText("5");
        main.whileModal = [](QDialog& converter) {
            type(&converter, "TasaConocida", "24");
            click(&converter, "ConocidaNominal MesConocidoE AñoDesconocidoE Calculos Boton0");
            QVERIFY(!converter.isVisible());
        };
        click(&main, "ConvertirTasaInteres");
        QCOMPARE(main.interes()->text(), "26.8241794563");
        QVERIFY(m_ui.messages.shown.empty());

        QStringList seen;
        main.whileModal = [&](QDialog& converter) {
            seen << textOf(&converter, "TasaConocida") << textOf(&converter, "TasaDesconocida");
            QVERIFY(child<QRadioButton>(&converter, "ConocidaEfectiva")->isChecked());
            click(&converter, "Boton1");
        };
        click(&main, "ConvertirTasaInteres");
        QCOMPARE(main.opened, 2);
        QCOMPARE(seen, QStringList({ "", "" }));
        QCOMPARE(main.interes()->text(), "26.8241794563"); // Cancelar copies nothing
        QVERIFY(main.findChildren<TasaInteres*>().isEmpty()); // nothing of either survives
    }
};

QTEST_MAIN(TstConvertirTasa)
#include "tst_convertirtasa.moc"
