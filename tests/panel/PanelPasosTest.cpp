// The working panel on its own: what it shows and what it sends to the notes.
#include "panel/PanelPasos.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QtTest>

namespace kalnor {

class PanelPasosTest : public QObject {
    Q_OBJECT

private slots:
    void muestraLasLineasYLasMandaALasNotas() {
        PanelPasos panel;
        auto* boton = panel.findChild<QPushButton*>("PasosANotas");
        auto* texto = panel.findChild<QTextBrowser*>("textoPasos");
        QVERIFY(boton && texto);
        QVERIFY(!boton->isEnabled()); // nothing pressed yet

        const QStringList lineas{"x̄ = Σxᵢ·nᵢ / N", "Σxᵢ·nᵢ = 186", "N = 32", "x̄ = 186 / 32",
                                 "x̄ = 5,8125"};
        panel.mostrar(lineas);
        QVERIFY(boton->isEnabled());
        QCOMPARE(texto->toPlainText(), lineas.join('\n'));

        QSignalSpy enviado(&panel, &PanelPasos::paraNotas);
        QTest::mouseClick(boton, Qt::LeftButton);
        QCOMPARE(enviado.count(), 1);
        QCOMPARE(enviado.at(0).at(0).toString(), lineas.join("\r\n") + "\r\n\r\n");

        panel.mostrar({});
        QVERIFY(!boton->isEnabled());
        QVERIFY(texto->toPlainText().isEmpty());
    }

    void lasPalabrasDeLaTablaSeMuestranTalCual() {
        // A category typed in the table is shown as typed, never as markup.
        PanelPasos panel;
        panel.mostrar({"Moda = <b>Sí</b> & no", "  sangría"});
        const QString texto = panel.findChild<QTextBrowser*>("textoPasos")->toPlainText();
        QCOMPARE(texto, QString("Moda = <b>Sí</b> & no\n  sangría"));
    }
};

} // namespace kalnor

QTEST_MAIN(kalnor::PanelPasosTest)
#include "PanelPasosTest.moc"
