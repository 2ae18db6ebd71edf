// The window list on a real X server (an Xvfb the test starts; skipped with a
// message where Xvfb is not installed) and the desktop calculator, also
// without any X server.

#include "dialogs/cWindows.h"
#include "app/Documento.h"
#include "chart/ControladorGraficos.h"
#include "chart/ErrorGrafico.h"
#include "dialogs/CalculadoraGenerica.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>

using namespace kalnor;

namespace {

bool esperar(const std::function<bool()>& condicion, int ms = 8000) {
    QElapsedTimer reloj;
    reloj.start();
    while (!condicion()) {
        if (reloj.elapsed() > ms)
            return false;
        QTest::qWait(30);
    }
    return true;
}

void poner(ConexionX& x, std::uint32_t v, std::uint32_t nombre, std::uint32_t tipo, int formato,
           const void* datos, std::uint32_t cuantos) {
    xcb_change_property(x.xcb(), XCB_PROP_MODE_REPLACE, v, nombre, tipo,
                        static_cast<std::uint8_t>(formato), cuantos, datos);
}

struct Rasgos {
    QByteArray clase; // WM_CLASS "instance\0class\0"
    bool mapear = true;
    bool escritorio = false; // _NET_WM_WINDOW_TYPE_DESKTOP
};

// A bare X window of this connection, titled as a toolkit titles it.
std::uint32_t crear(ConexionX& x, const QString& titulo, const Rasgos& r = {}) {
    xcb_connection_t* c = x.xcb();
    const xcb_window_t v = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, v, x.raiz(), 0, 0, 120, 80, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    if (!titulo.isEmpty()) {
        const QByteArray utf8 = titulo.toUtf8();
        const QByteArray latin = titulo.toLatin1();
        poner(x, v, x.atomo("_NET_WM_NAME"), x.atomo("UTF8_STRING"), 8, utf8.constData(),
              static_cast<std::uint32_t>(utf8.size()));
        poner(x, v, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, latin.constData(),
              static_cast<std::uint32_t>(latin.size()));
    }
    if (!r.clase.isEmpty())
        poner(x, v, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, r.clase.constData(),
              static_cast<std::uint32_t>(r.clase.size()));
    const std::uint32_t borrar = x.atomo("WM_DELETE_WINDOW");
    poner(x, v, x.atomo("WM_PROTOCOLS"), XCB_ATOM_ATOM, 32, &borrar, 1);
    if (r.escritorio) {
        const std::uint32_t tipo = x.atomo("_NET_WM_WINDOW_TYPE_DESKTOP");
        poner(x, v, x.atomo("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, &tipo, 1);
    }
    if (r.mapear)
        xcb_map_window(c, v);
    x.sincronizar();
    return v;
}

// The client messages this connection received for `ventana` within `ms`.
std::vector<xcb_client_message_event_t> mensajes(ConexionX& x, std::uint32_t ventana,
                                                 int ms = 1000) {
    std::vector<xcb_client_message_event_t> vistos;
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < ms && vistos.empty()) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(x.xcb())) {
            if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* m = reinterpret_cast<xcb_client_message_event_t*>(e);
                if (m->window == ventana)
                    vistos.push_back(*m);
            }
            std::free(e);
        }
        QThread::msleep(20);
    }
    return vistos;
}

class ListaDePrueba : public ListaVentanas {
public:
    std::vector<std::pair<QString, std::uint32_t>> entradas{{"vieja", 1}};
    void Clear() override { entradas.clear(); }
    void AddItem(const QString& texto, std::uint32_t dato) override {
        entradas.emplace_back(texto, dato);
    }
};

QString ventanaTitulada() {
    return QStringLiteral(KALNOR_VENTANA_TITULADA);
}

} // namespace

class cWindowsTest : public QObject {
    Q_OBJECT

    QProcess xvfb_;
    QByteArray pantalla_;
    std::unique_ptr<ConexionX> prueba_; // the test's own windows

    bool hayX() const { return prueba_ != nullptr; }
    cWindows lista() { return cWindows(ConexionX::abrir(pantalla_)); }

    // A folder holding fake calculator programs.
    static void programa(const QTemporaryDir& carpeta, const QString& nombre,
                         const QByteArray& cuerpo) {
        QFile f(carpeta.filePath(nombre));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + cuerpo + "\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private slots:
    void initTestCase() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return;
        // Xvfb writes the number of the display it took once it is ready.
        xvfb_.start(xvfb, {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
        if (!xvfb_.waitForStarted(5000))
            return;
        QByteArray salida;
        esperar([&] {
            xvfb_.waitForReadyRead(100);
            salida += xvfb_.readAllStandardOutput();
            return salida.contains('\n');
        });
        bool ok = false;
        const int numero = salida.trimmed().toInt(&ok);
        if (!ok)
            return;
        pantalla_ = ":" + QByteArray::number(numero);
        prueba_ = ConexionX::abrir(pantalla_);
    }

    void cleanupTestCase() {
        prueba_.reset();
        if (xvfb_.state() != QProcess::NotRunning) {
            xvfb_.terminate();
            xvfb_.waitForFinished(5000);
        }
    }

    void init() {
        if (!hayX() && QByteArray(QTest::currentTestFunction()).startsWith("x11"))
            QSKIP("Xvfb no está instalado (paquete xvfb): la lista de ventanas no se prueba");
    }

    void sinServidorXNoHaceNada() {
        cWindows v(nullptr);
        QVERIFY(!v.hayServidorX());
        ListaDePrueba l;
        QVERIFY(v.EnumTopWindows(&l).empty());
        QVERIFY(l.entradas.empty());
        QVERIFY(!v.CloseApp(QStringLiteral("Calculadora")));
        QVERIFY(v.ClassName(QStringLiteral("Calculadora")).isEmpty());
        v.MinimizeAll();
    }

    void x11EnumeraLasVisiblesConTituloDeArribaAbajo() {
        const auto primera = crear(*prueba_, QStringLiteral("Primera"));
        const auto oculta =
            crear(*prueba_, QStringLiteral("Oculta"), Rasgos{QByteArray(), false, false});
        const auto sinTitulo = crear(*prueba_, {});
        const auto ultima = crear(*prueba_, QStringLiteral("Última, ñandú ß"));
        cWindows v = lista();
        ListaDePrueba l;
        const std::vector<VentanaListada> todas = v.EnumTopWindows(&l);
        QStringList titulos;
        for (const VentanaListada& w : todas)
            if (w.handle == primera || w.handle == oculta || w.handle == sinTitulo ||
                w.handle == ultima)
                titulos << w.titulo;
        // The last mapped is on top.
        QCOMPARE(titulos, (QStringList{"Última, ñandú ß", "Primera"}));
        QCOMPARE(l.entradas.size(), todas.size());
        QCOMPARE(l.entradas.front().first, todas.front().titulo);
        QCOMPARE(l.entradas.front().second, todas.front().handle);
        QCOMPARE(v.FindWindow(QStringLiteral("Oculta")), oculta); // found though hidden
        for (auto w : {primera, oculta, sinTitulo, ultima})
            xcb_destroy_window(prueba_->xcb(), w);
    }

    void x11ClassNameLeeLaClaseDeLaVentana() {
        const auto a = crear(*prueba_, QStringLiteral("Con clase"),
                             {.clase = QByteArray("kalnor-prueba\0KalnorPrueba\0", 28)});
        const auto b = crear(
            *prueba_, QStringLiteral("Clase larga"),
            {.clase = "x" + QByteArray(1, '\0') + QByteArray(300, 'K') + QByteArray(1, '\0')});
        cWindows v = lista();
        QCOMPARE(v.ClassName(QStringLiteral("Con clase")), QStringLiteral("KalnorPrueba"));
        QCOMPARE(v.ClassName(QStringLiteral("Clase larga")), QString(255, 'K'));
        QVERIFY(v.ClassName(QStringLiteral("No existe")).isEmpty());
        xcb_destroy_window(prueba_->xcb(), a);
        xcb_destroy_window(prueba_->xcb(), b);
    }

    void x11CloseAppPideElCierreALaVentanaDeEseTitulo() {
        const auto w = crear(*prueba_, QStringLiteral("Calculadora"),
                             {.clase = QByteArray("calc\0Calc\0", 10)});
        cWindows v = lista();
        QVERIFY(!v.CloseApp(QStringLiteral("Calculadora"), QStringLiteral("Otra")));
        QVERIFY(mensajes(*prueba_, w, 300).empty());
        QVERIFY(v.CloseApp(QStringLiteral("Calculadora"), QStringLiteral("Calc")));
        const auto vistos = mensajes(*prueba_, w);
        QCOMPARE(vistos.size(), std::size_t{1});
        QCOMPARE(vistos[0].type, prueba_->atomo("WM_PROTOCOLS"));
        QCOMPARE(vistos[0].data.data32[0], prueba_->atomo("WM_DELETE_WINDOW"));
        xcb_destroy_window(prueba_->xcb(), w);
        QVERIFY(!v.CloseApp(QStringLiteral("No existe")));
    }

    void x11NuncaCierraElEscritorio() {
        const auto progman = crear(*prueba_, QStringLiteral("Progman"));
        const auto escritorio =
            crear(*prueba_, QStringLiteral("Escritorio"), Rasgos{QByteArray(), true, true});
        cWindows v = lista();
        QVERIFY(!v.CloseApp(QStringLiteral("Progman")));
        QVERIFY(!v.CloseApp(QStringLiteral("Escritorio")));
        QVERIFY(mensajes(*prueba_, progman, 300).empty());
        QVERIFY(mensajes(*prueba_, escritorio, 300).empty());
        xcb_destroy_window(prueba_->xcb(), progman);
        xcb_destroy_window(prueba_->xcb(), escritorio);
    }

    void x11MinimizeAllLoPideAlGestorDeVentanas() {
        const auto w = crear(*prueba_, QStringLiteral("Para minimizar"),
                             {.clase = QByteArray("min\0KalnorMin\0", 14)});
        const auto otra = crear(*prueba_, QStringLiteral("Se queda"));
        // This connection plays the window manager, which gets the requests.
        std::unique_ptr<ConexionX> gestor = ConexionX::abrir(pantalla_);
        const std::uint32_t mascara =
            XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(gestor->xcb(), gestor->raiz(), XCB_CW_EVENT_MASK, &mascara);
        gestor->sincronizar();
        cWindows v = lista();
        v.MinimizeAll(QStringLiteral("KalnorMin"));
        const auto vistos = mensajes(*gestor, w);
        QCOMPARE(vistos.size(), std::size_t{1});
        QCOMPARE(vistos[0].type, gestor->atomo("WM_CHANGE_STATE"));
        QCOMPARE(vistos[0].data.data32[0], 3u); // iconic
        QVERIFY(mensajes(*gestor, otra, 200).empty());
        gestor.reset();
        xcb_destroy_window(prueba_->xcb(), w);
        xcb_destroy_window(prueba_->xcb(), otra);
        prueba_->sincronizar();
    }

    void x11UnaVentanaDeVerdadSeCierra() {
        QProcess programa;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("DISPLAY", QString::fromLatin1(pantalla_));
        entorno.insert("QT_QPA_PLATFORM", "xcb");
        programa.setProcessEnvironment(entorno);
        programa.start(ventanaTitulada(), {QStringLiteral("Calculadora")});
        QVERIFY(programa.waitForStarted());
        cWindows v = lista();
        auto visible = [&] {
            for (const VentanaListada& w : v.EnumTopWindows())
                if (w.titulo == u"Calculadora")
                    return true;
            return false;
        };
        QVERIFY2(esperar(visible), "the window never came up");
        QVERIFY(v.CloseApp(QStringLiteral("Calculadora")));
        QVERIFY(programa.waitForFinished(8000));
        QCOMPARE(programa.exitStatus(), QProcess::NormalExit);
        QCOMPARE(programa.exitCode(), 0);
    }

    void x11LaCalculadoraSeCierraPorSuTitulo() {
        QTemporaryDir carpeta;
        programa(carpeta, QStringLiteral("gnome-calculator"),
                 "exec '" + ventanaTitulada().toLocal8Bit() + "' Calculadora");
        const QByteArray antes = qgetenv("DISPLAY");
        const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
        qputenv("DISPLAY", pantalla_);
        qputenv("QT_QPA_PLATFORM", "xcb");
        {
            CalculadoraGenerica::Opciones o;
            o.carpetas = {carpeta.path()};
            o.conectar = [this] { return ConexionX::abrir(pantalla_); };
            CalculadoraGenerica calculadora(o);
            cWindows v = lista();
            auto cuantas = [&] {
                int n = 0;
                for (const VentanaListada& w : v.EnumTopWindows())
                    n += w.titulo == u"Calculadora";
                return n;
            };
            calculadora.abrir();
            QVERIFY(esperar([&] { return cuantas() == 1; }));
            const qint64 primera = calculadora.pid();
            calculadora.abrir(); // the first one is asked to close first
            QVERIFY(calculadora.pid() != primera);
            QVERIFY(esperar([&] { return cuantas() == 1; }));
            calculadora.cerrar();
            QVERIFY(!calculadora.enMarcha());
            QVERIFY(esperar([&] { return cuantas() == 0; }));
        }
        if (antes.isEmpty())
            qunsetenv("DISPLAY");
        else
            qputenv("DISPLAY", antes);
        qputenv("QT_QPA_PLATFORM", plataforma);
    }

    void sinXSeCierraLaCalculadoraQueSeInicio() {
        QTemporaryDir carpeta;
        const QString marca = carpeta.filePath(QStringLiteral("iniciada"));
        for (const char* nombre : {"kcalc", "xcalc"})
            programa(carpeta, QString::fromLatin1(nombre),
                     QByteArray("echo ") + nombre + " >> '" + marca.toLocal8Bit() +
                         "'\nexec sleep 60");
        CalculadoraGenerica::Opciones o;
        o.carpetas = {carpeta.path()};
        o.conectar = [] { return std::unique_ptr<ConexionX>(); };
        CalculadoraGenerica calculadora(o);
        calculadora.cerrar(); // never started: nothing to do
        auto iniciadas = [&](const QByteArray& esperado) {
            return esperar([&] {
                QFile f(marca);
                return f.open(QIODevice::ReadOnly) && f.readAll() == esperado;
            });
        };
        calculadora.abrir();
        QVERIFY(calculadora.enMarcha());
        QVERIFY(iniciadas("kcalc\n")); // the first on the list found
        const qint64 primera = calculadora.pid();
        calculadora.abrir();
        QVERIFY(calculadora.enMarcha());
        QVERIFY(calculadora.pid() != primera);
        QVERIFY(!QFile::exists(QStringLiteral("/proc/%1").arg(primera)));
        QVERIFY(iniciadas("kcalc\nkcalc\n"));
        calculadora.cerrar();
        QVERIFY(!calculadora.enMarcha());
    }

    void sinCalculadoraElFalloVaAlRegistroDeErrores() {
        QTemporaryDir vacia;
        CalculadoraGenerica::Opciones o;
        o.carpetas = {vacia.path()};
        o.conectar = [] { return std::unique_ptr<ConexionX>(); };
        CalculadoraGenerica calculadora(o);
        try {
            calculadora.abrir();
            QFAIL("no calculator, yet no failure");
        } catch (const ErrorGrafico& e) {
            QCOMPARE(e.numero(), 53);
            QVERIFY(QString::fromStdString(e.what()).contains("gnome-calculator, kcalc"));
        }
        Documento documento;
        ControladorGraficos graficos(documento, Rutas{vacia.path()});
        graficos.setCalculadora(&calculadora);
        graficos.Toolbar3_ButtonClick(QStringLiteral("botonCALGEN"));
        QCOMPARE(documento.error.NumError, std::int16_t{53});
        QVERIFY(QString::fromStdString(documento.error.MensajeError)
                    .startsWith("No se encuentra ninguna calculadora"));
    }
};

QTEST_GUILESS_MAIN(cWindowsTest)
#include "cWindowsTest.moc"
