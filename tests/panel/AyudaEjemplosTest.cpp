// The help file teaches what the program does: every keyword the windows
// ask for has its topic, every picture a topic shows exists, and every
// worked example gives what the calculator shows on the same table.
#include "DistribucionPrueba.h"

#include "app/Documento.h"
#include "dialogs/ArchivoAyuda.h"
#include "panel/ControladorCalculadora.h"
#include "panel/Pistas.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace kalnor {
namespace {

using testing::DistribucionesPrueba;

const ArchivoAyuda& ayuda() {
    static const ArchivoAyuda a = ArchivoAyuda::leer(KALNOR_SOURCE_DIR "/data/help/kalnor.hlp");
    return a;
}

std::string cabecera(const std::string& tipo) {
    if (tipo == "DIS" || tipo == "CAT")
        return "Xi,ni\n";
    if (tipo == "CON")
        return "LiX,LsX,ni\n";
    if (tipo == "DISDIS")
        return "Xi,Yi,ni\n";
    throw std::invalid_argument(tipo);
}

// Presses one control written "cmdTECLA(5)", "cmd_Muestra" or
// "cboCUARTILES:0". False when the name is not one of the calculator's.
bool pulsar(ControladorCalculadora& c, const QString& control) {
    static const QRegularExpression tecla("^(cmdTECLA|cmdTECLAm|cmdTECLAbi)\\((\\d+)\\)$");
    if (control == "cmd_Muestra") {
        c.cmd_Muestra_Click();
        return true;
    }
    if (const auto m = tecla.match(control); m.hasMatch()) {
        const int i = m.captured(2).toInt();
        if (m.captured(1) == "cmdTECLA")
            c.cmdTECLA_Click(i);
        else if (m.captured(1) == "cmdTECLAm")
            c.cmdTECLAm_Click(i);
        else
            c.cmdTECLAbi_Click(i);
        return true;
    }
    const QStringList lista = control.split(':');
    for (const SelectorInfo& s : selectores())
        if (lista.size() == 2 && lista[0] == QLatin1String(s.nombre)) {
            c.seleccionar(s.selector, lista[1].toInt());
            return true;
        }
    return false;
}

TEST(AyudaDelPrograma, EveryKeywordTheProgramAsksForHasItsTopic) {
    QStringList claves{"Tabla de Distribución", "Columnas", "Sumatorio"};
    for (const QString& control : controlesConAyuda())
        claves << claveAyuda(control);
    for (const QString& clave : claves) {
        const ArchivoAyuda::Tema* tema = ayuda().buscar(clave);
        ASSERT_TRUE(tema) << clave.toStdString();
        // Found under its own spelling, not by the lenient match.
        EXPECT_TRUE(tema->claves.contains(clave)) << clave.toStdString();
        EXPECT_GT(tema->texto.size(), 80) << clave.toStdString();
    }
}

TEST(AyudaDelPrograma, EveryPictureAndLinkLeadsSomewhere) {
    static const QRegularExpression imagen(R"(!\[[^\]]*\]\(([^)]+)\))");
    static const QRegularExpression enlace(R"(\[\[([^\]|]+)(?:\|[^\]]+)?\]\])");
    int imagenes = 0;
    for (const ArchivoAyuda::Tema& tema : ayuda().temas()) {
        for (auto it = imagen.globalMatch(tema.texto); it.hasNext(); ++imagenes) {
            const QString nombre = it.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(KALNOR_SOURCE_DIR "/data/formulas/svg/" + nombre))
                << nombre.toStdString();
        }
        for (auto it = enlace.globalMatch(tema.texto); it.hasNext();) {
            const QString clave = it.next().captured(1).trimmed();
            EXPECT_TRUE(ayuda().buscar(clave))
                << tema.claves.front().toStdString() << " -> " << clave.toStdString();
        }
    }
    EXPECT_GE(imagenes, 38);
    // Every picture the calculator loads is shown by some topic.
    for (const QString& nombre : imagenesFormulas())
        EXPECT_FALSE(ayuda().buscarTexto(nombre).isEmpty()) << nombre.toStdString();
}

TEST(AyudaDelPrograma, SearchFindsTopicsByTheirText) {
    const QStringList temas = ayuda().buscarTexto("logaritmo NEGATIVO");
    EXPECT_TRUE(temas.contains("Media Aritmética"));
    EXPECT_TRUE(temas.contains("Errores"));
    EXPECT_TRUE(ayuda().buscarTexto("palabraquenoexiste").isEmpty());
    EXPECT_TRUE(ayuda().buscarTexto("  ").isEmpty());
}

TEST(AyudaDelPrograma, WorkedExamplesGiveWhatTheCalculatorShows) {
    DistribucionesPrueba archivos("ayuda_ejemplos");
    int ejemplos = 0;
    for (const ArchivoAyuda::Tema& tema : ayuda().temas()) {
        for (const ArchivoAyuda::Ejemplo& ej : tema.ejemplos) {
            const std::string donde = tema.claves.front().toStdString() + ": " +
                                      ej.control.toStdString() + " en " +
                                      ej.filas.join(';').toStdString();
            std::string csv = cabecera(ej.tipo.toStdString());
            for (const QString& fila : ej.filas)
                csv += fila.toStdString() + '\n';
            Documento doc;
            ASSERT_TRUE(doc.AbrirBase(archivos.crear("e" + std::to_string(ejemplos) + ".mdb",
                                                     ej.tipo.toStdString(), csv)));
            ControladorCalculadora c(doc, "/bin/");
            c.setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
            c.Comenzar();
            for (const QString& control : ej.control.split('+'))
                ASSERT_TRUE(pulsar(c, control)) << donde;
            EXPECT_EQ(c.estado().RESULTADO.toStdString(), ej.resultado.toStdString()) << donde;
            ++ejemplos;
        }
    }
    EXPECT_GE(ejemplos, 40);
}

TEST(AyudaDelPrograma, LinksBetweenTopicsBecomeTopicUrls) {
    const ArchivoAyuda a = ArchivoAyuda::desdeTexto("== Uno\nVea [[Desviación Tipica]] y "
                                                    "[[Media Aritmética|la media]].\n"
                                                    "@ejemplo DIS | 1,1 | cmdTECLA(0) | 1,0\n");
    const QString md = ArchivoAyuda::markdown(a.temas().front());
    EXPECT_TRUE(md.startsWith("# Uno\n\n"));
    EXPECT_TRUE(md.contains("[Desviación Tipica](tema:Desviaci%C3%B3n%20Tipica)"))
        << md.toStdString();
    EXPECT_TRUE(md.contains("[la media](tema:Media%20Aritm%C3%A9tica)"));
    EXPECT_FALSE(md.contains("@ejemplo"));
    EXPECT_EQ(ArchivoAyuda::claveDeEnlace(QUrl("tema:Desviaci%C3%B3n%20Tipica")),
              "Desviación Tipica");
    EXPECT_TRUE(ArchivoAyuda::claveDeEnlace(QUrl("https://example.org")).isEmpty());
    ASSERT_EQ(a.temas().front().ejemplos.size(), 1);
    EXPECT_EQ(a.temas().front().ejemplos.front().control, "cmdTECLA(0)");
}

} // namespace
} // namespace kalnor
