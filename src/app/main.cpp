#include "Rutas.h"
#include "VentanaPrincipal.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalnor"));
    // Outside a desktop session Qt may find no icon theme: use the common one.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor")
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    const kalnor::Rutas rutas = kalnor::Rutas::desdePrograma(QApplication::applicationDirPath());
    kalnor::VentanaPrincipal ventana(rutas);
    ventana.show();
    return QApplication::exec();
}
