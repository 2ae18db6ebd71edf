// The help file: topics found by keyword, and the shipped file covers every
// keyword the windows ask for.

#include "dialogs/ArchivoAyuda.h"

#include <QTest>

using namespace kalnor;

class ArchivoAyudaTest : public QObject {
    Q_OBJECT

private slots:
    void temasPorPalabraClave() {
        const ArchivoAyuda ayuda = ArchivoAyuda::desdeTexto("# comentario\n"
                                                            "== Varianza\n"
                                                            "== Cuasivarianza\n"
                                                            "Media de los cuadrados.\n"
                                                            "\n"
                                                            "- uno\n"
                                                            "- dos\n"
                                                            "== Máximo\n"
                                                            "El mayor.\n");
        QCOMPARE(ayuda.temas().size(), 2);
        QCOMPARE(ayuda.indice(), (QStringList{"Cuasivarianza", "Máximo", "Varianza"}));
        const ArchivoAyuda::Tema* tema = ayuda.buscar("Cuasivarianza");
        QVERIFY(tema);
        QCOMPARE(tema->claves.front(), QString("Varianza"));
        const QString html = ArchivoAyuda::html(*tema);
        QVERIFY(html.contains("<p>Media de los cuadrados.</p>"));
        QVERIFY(html.contains("<li>uno</li><li>dos</li>"));
        // Exact first, then ignoring case and accents.
        QVERIFY(ayuda.buscar("maximo"));
        QVERIFY(!ayuda.buscar("Mínimo"));
    }

    void elArchivoDelProgramaTieneTodasLasClaves() {
        const ArchivoAyuda ayuda =
            ArchivoAyuda::leer(QStringLiteral(KALNOR_SOURCE_DIR "/data/help/kalnor.hlp"));
        const QStringList claves{"Tabla de Distribución",
                                 "Columnas",
                                 "Sumatorio",
                                 "Media Aritmética",
                                 "Recorrido",
                                 "Varianza",
                                 "Desviación Tipica",
                                 "Cuasivarianza",
                                 "Desviación Media",
                                 "Desviación Mediana",
                                 "Coef. Asimetria de Pearson",
                                 "Coef. Asimetria de Fisher",
                                 "Coef. Variación de Pearson",
                                 "Coef. Variación Media",
                                 "Coef. Variación Mediana",
                                 "Recorrido Semiintercuartílico",
                                 "Índice concentración Gini",
                                 "Máximo",
                                 "mínimo",
                                 "Coef. Curtosis",
                                 "Mediana",
                                 "Moda",
                                 "Coef. Correlación Lineal",
                                 "Coef. de Regresión Lineal",
                                 "Recta de Regresión",
                                 "Tamaño Muestral",
                                 "Fórmulas",
                                 "Gráficos",
                                 "Notas",
                                 "Errores",
                                 "Clase de Distribución",
                                 "Tipo de Variable",
                                 "Conceptos"};
        for (const QString& clave : claves) {
            const ArchivoAyuda::Tema* tema = ayuda.buscar(clave);
            QVERIFY2(tema && tema->claves.contains(clave), qPrintable(clave));
        }
    }
};

QTEST_GUILESS_MAIN(ArchivoAyudaTest)
#include "ArchivoAyudaTest.moc"
