// Qt's own dialogs in Spanish whatever the system's language, with numbers
// still in the system's format. CTest runs this under LANG=es_ES.UTF-8 and
// under LANG=C.UTF-8.

#include "app/Traducciones.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace kalnor;

namespace {

QString sinAtajo(QString texto) {
    return texto.remove(QLatin1Char('&'));
}

QStringList textosDeBotones(const QWidget& w) {
    QStringList textos;
    for (const QPushButton* b : w.findChildren<QPushButton*>())
        textos << sinAtajo(b->text());
    return textos;
}

} // namespace

class TraduccionesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QStringList cargados = instalarTraducciones(*qApp);
        QVERIFY2(cargados.contains(QStringLiteral("qtbase_es")),
                 qPrintable(QStringLiteral("sin qtbase_es en ") + carpetaTraducciones()));
    }

    void dialogoDeArchivoEnEspanol() {
        QFileDialog dialogo(nullptr, QStringLiteral("Abrir Distribución Estadística"));
        dialogo.setOption(QFileDialog::DontUseNativeDialog);
        dialogo.setFileMode(QFileDialog::ExistingFile);
        dialogo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialogo));
        const auto* botones = dialogo.findChild<QDialogButtonBox*>();
        QVERIFY(botones);
        QCOMPARE(sinAtajo(botones->button(QDialogButtonBox::Open)->text()),
                 QStringLiteral("Abrir"));
        QCOMPARE(sinAtajo(botones->button(QDialogButtonBox::Cancel)->text()),
                 QStringLiteral("Cancelar"));
        const QStringList todos = textosDeBotones(dialogo);
        QVERIFY2(!todos.contains(QStringLiteral("Open")) &&
                     !todos.contains(QStringLiteral("Cancel")),
                 qPrintable(todos.join(u'|')));
    }

    void cajaDeMensajeEnEspanol() {
        QMessageBox caja(
            QMessageBox::Question, QStringLiteral("Kalnor"), QStringLiteral("¿ Abrir ?"),
            QMessageBox::Open | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        caja.show();
        QVERIFY(QTest::qWaitForWindowExposed(&caja));
        QCOMPARE(sinAtajo(caja.button(QMessageBox::Open)->text()), QStringLiteral("Abrir"));
        QCOMPARE(sinAtajo(caja.button(QMessageBox::Cancel)->text()), QStringLiteral("Cancelar"));
        QCOMPARE(sinAtajo(caja.button(QMessageBox::Yes)->text()), QStringLiteral("Sí"));
        QCOMPARE(sinAtajo(caja.button(QMessageBox::No)->text()), QStringLiteral("No"));
    }

    void dialogosDeLetraYColorEnEspanol() {
        QFontDialog letra;
        letra.setOption(QFontDialog::DontUseNativeDialog);
        letra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&letra));
        QVERIFY2(textosDeBotones(letra).contains(QStringLiteral("Cancelar")),
                 qPrintable(textosDeBotones(letra).join(u'|')));
        QColorDialog color;
        color.setOption(QColorDialog::DontUseNativeDialog);
        color.show();
        QVERIFY(QTest::qWaitForWindowExposed(&color));
        const QStringList botones = textosDeBotones(color);
        QVERIFY2(botones.contains(QStringLiteral("Aceptar")) &&
                     botones.contains(QStringLiteral("Cancelar")),
                 qPrintable(botones.join(u'|')));
    }

    void menuDeLaCajaDeTextoEnEspanol() {
        QLineEdit caja;
        const std::unique_ptr<QMenu> menu(caja.createStandardContextMenu());
        QStringList textos;
        for (const QAction* a : menu->actions())
            textos << sinAtajo(a->text()).section(QLatin1Char('\t'), 0, 0);
        QVERIFY2(textos.contains(QStringLiteral("Pegar")), qPrintable(textos.join(u'|')));
        QVERIFY2(textos.contains(QStringLiteral("Copiar")), qPrintable(textos.join(u'|')));
    }

    // The texts are Spanish everywhere; the numbers are the system's.
    void numerosConElFormatoDelSistema() {
        const QLocale sistema;
        if (qEnvironmentVariable("LANG").startsWith(QStringLiteral("es_"))) {
            QCOMPARE(sistema.decimalPoint(), QStringLiteral(","));
            QCOMPARE(sistema.toString(2.5), QStringLiteral("2,5"));
        } else if (qEnvironmentVariable("LANG").startsWith(QStringLiteral("C"))) {
            QCOMPARE(sistema.decimalPoint(), QStringLiteral("."));
            QCOMPARE(sistema.toString(2.5), QStringLiteral("2.5"));
        }
    }
};

QTEST_MAIN(TraduccionesTest)
#include "TraduccionesTest.moc"
