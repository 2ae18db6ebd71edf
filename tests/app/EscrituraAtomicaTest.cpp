// Writing a whole file or nothing, and saying why not.
#include "app/EscrituraAtomica.h"

#include "../CarpetaUnica.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace kalnor {
namespace {

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(EscrituraAtomica, WritesTheBytesAndReplacesAnEarlierFile) {
    const QString carpeta = QString::fromStdString(testing::carpetaUnica("escritura").string());
    const QString ruta = carpeta + "/a.csv";
    EXPECT_TRUE(escribirAtomico(ruta, "uno\n").isEmpty());
    EXPECT_TRUE(escribirAtomico(ruta, "dos\ntres\n").isEmpty());
    EXPECT_EQ(leer(ruta), QByteArray("dos\ntres\n"));
    // Nothing left behind but the file itself.
    EXPECT_EQ(QDir(carpeta).entryList(QDir::Files), QStringList{"a.csv"});
    QDir(carpeta).removeRecursively();
}

TEST(EscrituraAtomica, AFailureSaysWhereAndWhyInSpanish) {
    const QString carpeta = QString::fromStdString(testing::carpetaUnica("escritura").string());
    const QString ruta = carpeta + "/no/existe/a.csv";
    const QString motivo = escribirAtomico(ruta, "x");
    EXPECT_TRUE(motivo.startsWith(QStringLiteral("No se puede escribir «") + ruta + "»: "))
        << motivo.toStdString();
    EXPECT_GT(motivo.size(), QString("No se puede escribir «»: ").size() + ruta.size());
    QDir(carpeta).removeRecursively();
}

} // namespace
} // namespace kalnor
