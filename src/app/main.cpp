#include "Rutas.h"
#include "Traducciones.h"
#include "VentanaPrincipal.h"
#include "app/Version.h"
#include "dialogs/VentanaLogo.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalnor"));
    QApplication::setApplicationVersion(kalnor::version());
    QApplication::setDesktopFileName(QStringLiteral("es.kalnor.Kalnor"));
    kalnor::instalarTraducciones(aplicacion);
    // Outside a desktop session Qt may find no icon theme: use the common one.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor")
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("kalnor"), QIcon(QStringLiteral(":/kalnor/kalnor.svg"))));

    QCommandLineParser opciones;
    opciones.setApplicationDescription(QStringLiteral("Calculadora de estadística descriptiva"));
    // Our own help option: Qt's catalogue leaves its description in English.
    const QCommandLineOption ayuda({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("Muestra esta ayuda."));
    opciones.addOption(ayuda);
    opciones.addVersionOption();
    opciones.addPositionalArgument(QStringLiteral("FICHERO"),
                                   QStringLiteral("Distribución que se abre al empezar (.mdb)"),
                                   QStringLiteral("[FICHERO]"));
    opciones.process(aplicacion);
    if (opciones.isSet(ayuda))
        opciones.showHelp();

    const kalnor::Rutas rutas = kalnor::Rutas::desdePrograma(QApplication::applicationDirPath());
    // The splash comes first; it shows the main window, which opens the file
    // given on the command line, and closes.
    const QStringList ficheros = opciones.positionalArguments();
    std::unique_ptr<kalnor::VentanaPrincipal> ventana;
    kalnor::VentanaLogo logo([&] {
        ventana = std::make_unique<kalnor::VentanaPrincipal>(rutas);
        ventana->show();
        if (!ficheros.isEmpty())
            ventana->comandos().abrirAlEmpezar(ficheros.front());
    });
    logo.show();
    return QApplication::exec();
}
