#include "Traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <array>
#include <memory>

namespace kalnor {

namespace {
// qtbase holds the dialogs, the widgets' menus and the message boxes; the
// other modules the program links ship their own catalogue when translated.
constexpr std::array kCatalogos{"qtbase", "qtcharts", "qtsvg"};
} // namespace

QString carpetaTraducciones() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QStringList instalarTraducciones(QCoreApplication& aplicacion) {
    const QLocale espanol(QLocale::Spanish, QLocale::Spain);
    const QString carpeta = carpetaTraducciones();
    QStringList cargados;
    for (const char* catalogo : kCatalogos) {
        auto traductor = std::make_unique<QTranslator>();
        if (!traductor->load(espanol, QString::fromLatin1(catalogo), QStringLiteral("_"), carpeta))
            continue; // no catalogue for this module
        if (!QCoreApplication::installTranslator(traductor.get()))
            continue;
        traductor.release()->setParent(&aplicacion);
        cargados << QString::fromLatin1(catalogo) + QStringLiteral("_es");
    }
    return cargados;
}

} // namespace kalnor
