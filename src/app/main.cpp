#include "Rutas.h"
#include "VentanaPrincipal.h"
#include "dialogs/VentanaLogo.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalnor"));
    // Outside a desktop session Qt may find no icon theme: use the common one.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor")
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    const kalnor::Rutas rutas = kalnor::Rutas::desdePrograma(QApplication::applicationDirPath());
    // The splash comes first; it shows the main window and closes.
    std::unique_ptr<kalnor::VentanaPrincipal> ventana;
    kalnor::VentanaLogo logo([&] {
        ventana = std::make_unique<kalnor::VentanaPrincipal>(rutas);
        ventana->show();
    });
    logo.show();
    return QApplication::exec();
}
