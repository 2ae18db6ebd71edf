// The splash, about and picture windows as the user meets them.

#include "dialogs/VentanaAcercaDe.h"
#include "dialogs/VentanaAutor.h"
#include "dialogs/VentanaLogo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kalnor;

namespace {

// Receives the links the about window asks the desktop to open.
class Escritorio : public QObject {
    Q_OBJECT
public:
    QList<QUrl> abiertas;
public slots:
    void abrir(const QUrl& url) { abiertas << url; }
};

void clic(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

} // namespace

class VentanasAuxiliaresTest : public QObject {
    Q_OBJECT

private slots:
    void elLogoMuestraLaPrincipalYSeCierra() {
        QWidget principal;
        VentanaLogo logo([&] { principal.show(); });
        logo.show();
        QCOMPARE(logo.Label1()->text(), QStringLiteral("Versión 1.05 - ßeta"));
        clic(&logo); // does nothing
        QVERIFY(logo.isVisible());
        QVERIFY(!principal.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(principal.isVisible(), 3000);
        QVERIFY(!logo.isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    void acercaDeMuestraSusTextosYDesplazaLosCreditos() {
        VentanaAcercaDe v;
        v.show();
        QCOMPARE(v.windowTitle(), QStringLiteral("Acerca de Kalnor..."));
        QCOMPARE(v.Command1()->text(), QStringLiteral("Créditos"));
        QCOMPARE(v.Command2()->text(), QStringLiteral("Ok"));
        QCOMPARE(v.Image2()->toolTip(), QStringLiteral(" Web "));
        QCOMPARE(v.Image3()->toolTip(), QStringLiteral(" e-mail "));
        QVERIFY(v.Timer1()->isActive());
        QCOMPARE(v.Timer1()->interval(), 90);
        // The picture reaches below the frame by the whole scroll.
        QCOMPARE(v.Image1()->height() - v.Image1()->parentWidget()->height(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(v.Image1()->y() < 0, 2000);
        QCOMPARE(v.Image1()->y(), v.creditos().topEnPixeles());

        clic(v.Command1()); // stops and rewinds
        QVERIFY(!v.Timer1()->isActive());
        QCOMPARE(v.Image1()->y(), 0);
        clic(v.Command1()); // restarts, fast
        QVERIFY(v.Timer1()->isActive());
        QCOMPARE(v.Timer1()->interval(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(v.Timer1()->interval(), 4000, 20000);
        QCOMPARE(v.Image1()->y(), -1000);
    }

    void acercaDeSeCierraConOkOConUnClicEnLosCreditos() {
        for (bool enLaImagen : {false, true}) {
            VentanaAcercaDe v;
            v.show();
            clic(enLaImagen ? static_cast<QWidget*>(v.Image1()) : v.Command2());
            QVERIFY(!v.isVisible());
            QCOMPARE(v.result(), int(QDialog::Accepted));
            QTRY_VERIFY(!QApplication::overrideCursor());
        }
    }

    void losEnlacesSeAbrenEnElEscritorio() {
        Escritorio escritorio;
        QDesktopServices::setUrlHandler("https", &escritorio, "abrir");
        QDesktopServices::setUrlHandler("mailto", &escritorio, "abrir");
        VentanaAcercaDe v;
        v.show();
        clic(v.Image2());
        clic(v.Image3());
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("mailto");
        QCOMPARE(escritorio.abiertas.size(), 2);
        QCOMPARE(escritorio.abiertas[0], VentanaAcercaDe::paginaWeb());
        QCOMPARE(escritorio.abiertas[1].scheme(), QStringLiteral("mailto"));
        QVERIFY(!escritorio.abiertas[1].path().isEmpty());
    }

    void cadaTercerClicEnElPanelAbreLaImagen() {
        QWidget ventana;
        auto* panel = new QLabel(QStringLiteral("Kalnor"), &ventana);
        panel->resize(100, 20);
        auto* clics = new ClicsPanelAutor(panel);
        ventana.show();
        int abiertas = 0;
        // Closes each picture window by a click on its picture.
        QTimer vigia;
        connect(&vigia, &QTimer::timeout, [&] {
            if (auto* autor = qobject_cast<VentanaAutor*>(QApplication::activeModalWidget())) {
                ++abiertas;
                clic(autor->Image1());
            }
        });
        vigia.start(20);
        for (int i = 1; i <= 6; ++i) {
            clic(panel);
            QTest::qWait(120);
            QCOMPARE(abiertas, i / 3);
        }
        QCOMPARE(clics->contador().cuenta(), 0);
    }
};

QTEST_MAIN(VentanasAuxiliaresTest)
#include "VentanasAuxiliaresTest.moc"
