// The two-way table of a two-variable distribution: cells, marginals, order
// of the headings and the CSV export.
#include "../app/Distribuciones.h"

#include "table/TablaDobleEntrada.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <numeric>

namespace kalnor::testing {
namespace {

class TablaDobleEntradaTest : public Distribuciones {
protected:
    std::optional<TablaDobleEntrada> leer(const std::string& fichero, std::string& motivo) {
        EXPECT_TRUE(doc_.AbrirBase(fichero)) << doc_.error.MensajeError;
        return leerTablaDobleEntrada(doc_, motivo);
    }
    Documento doc_;
};

TEST_F(TablaDobleEntradaTest, AddsEqualPairsAndSortsTheHeadings) {
    const std::string f =
        nueva("a.mdb", "DISDIS", "Xi,Yi,ni\n2,10,3\n1,10,1\n2,20,4\n1,30,2\n2,10,5\n3,20,0\n");
    std::string motivo;
    const auto t = leer(f, motivo);
    ASSERT_TRUE(t) << motivo;
    ASSERT_EQ(t->filas.size(), 3u);
    ASSERT_EQ(t->columnas.size(), 3u);
    EXPECT_EQ(t->filas[0].valor, num(1));
    EXPECT_EQ(t->filas[2].valor, num(3));
    EXPECT_EQ(t->columnas[1].valor, num(20));
    EXPECT_EQ(t->n(1, 0), 8); // (2, 10) twice: 3 + 5
    EXPECT_EQ(t->n(0, 2), 2);
    EXPECT_EQ(t->n(0, 1), 0);
    EXPECT_EQ(t->marginalX, (std::vector<std::int64_t>{3, 12, 0}));
    EXPECT_EQ(t->marginalY, (std::vector<std::int64_t>{9, 4, 2}));
    EXPECT_EQ(t->N, 15);
    EXPECT_EQ(t->csv(motivo), "X \\ Y,10,20,30,nᵢ·\n"
                              "1,1,0,2,3\n"
                              "2,8,4,0,12\n"
                              "3,0,0,0,0\n"
                              "n·ⱼ,9,4,2,15\n");
}

TEST_F(TablaDobleEntradaTest, ClassesAndWordsAsHeadings) {
    const std::string f =
        nueva("b.mdb", "CATCON", "Xi,LiY,LsY,ni\nÁrbol,10,20,2\nboca,0,10,1\narco,10,20,4\n");
    std::string motivo;
    const auto t = leer(f, motivo);
    ASSERT_TRUE(t) << motivo;
    // Spanish order: the accent and the capital do not put "Árbol" last.
    ASSERT_EQ(t->filas.size(), 3u);
    EXPECT_EQ(t->filas[0].valor, txt("Árbol"));
    EXPECT_EQ(t->filas[1].valor, txt("arco"));
    EXPECT_EQ(t->filas[2].valor, txt("boca"));
    ASSERT_EQ(t->columnas.size(), 2u);
    const QLocale es(QLocale::Spanish, QLocale::Spain);
    EXPECT_EQ(TablaDobleEntrada::encabezado(t->columnas[0], es), QString("[0, 10)"));
    const std::string csv = t->csv(motivo).value_or("");
    EXPECT_NE(csv.find("X \\ Y,\"[0, 10)\",\"[10, 20)\",nᵢ·\n"), std::string::npos) << csv;
    EXPECT_EQ(t->N, 7);
}

TEST_F(TablaDobleEntradaTest, MarginalsAddUpToNOnEveryTwoVariableKind) {
    const std::pair<const char*, const char*> casos[] = {
        {"CATCAT", "Xi,Yi,ni\na,x,1\nb,y,2\na,y,3\n"},
        {"CATDIS", "Xi,Yi,ni\na,1,1\nb,2,2\na,2,3\n"},
        {"DISCON", "Xi,LiY,LsY,ni\n1,0,5,1\n2,5,10,2\n1,5,10,3\n"},
        {"CONCON", "LiX,LsX,LiY,LsY,ni\n0,1,0,5,1\n1,2,5,10,2\n0,1,5,10,3\n"},
    };
    for (const auto& [codigo, csv] : casos) {
        SCOPED_TRACE(codigo);
        std::string motivo;
        const auto t = leer(nueva(std::string(codigo) + ".mdb", codigo, csv), motivo);
        ASSERT_TRUE(t) << motivo;
        EXPECT_EQ(t->N, 6);
        EXPECT_EQ(std::accumulate(t->marginalX.begin(), t->marginalX.end(), std::int64_t{0}), 6);
        EXPECT_EQ(std::accumulate(t->marginalY.begin(), t->marginalY.end(), std::int64_t{0}), 6);
        EXPECT_EQ(t->filas.size(), 2u);
        EXPECT_EQ(t->columnas.size(), 2u);
    }
}

TEST_F(TablaDobleEntradaTest, OneVariableOrClosedDocumentsHaveNoTable) {
    std::string motivo;
    EXPECT_FALSE(leer(nueva("u.mdb", "DIS", "Xi,ni\n1,2\n"), motivo));
    EXPECT_NE(motivo.find("bidimensionales"), std::string::npos);
    const Documento cerrado;
    EXPECT_FALSE(leerTablaDobleEntrada(cerrado, motivo));
    EXPECT_EQ(motivo, "No hay ninguna distribución abierta");
}

// Raw data with a value per record on both sides: 100,000 distinct pairs
// would make a grid of 10¹⁰ cells. The table is read in the memory of its
// records (a child process limited to 1 GB of address space), and the CSV,
// which would take gigabytes, is refused with the reason.
TEST_F(TablaDobleEntradaTest, DistinctPairsCostTheirRecordsNotTheSquare) {
    constexpr int kPares = 100'000;
    std::string datos = "Xi,Yi,ni\n";
    for (int i = 0; i < kPares; ++i)
        datos += std::to_string(i) + ',' + std::to_string((i * 7919L) % kPares) + ",2\n";
    const std::string f = nueva("pares.mdb", "DISDIS", datos);

    const pid_t hijo = fork();
    ASSERT_GE(hijo, 0);
    if (hijo == 0) {
#ifndef KALNOR_SIN_LIMITE_MEMORIA // the sanitizers reserve terabytes of addresses
        const rlim_t memoria = rlim_t{1} << 30;
        const rlimit limite{memoria, memoria};
        setrlimit(RLIMIT_AS, &limite);
#endif
        Documento d;
        std::string motivo;
        if (!d.AbrirBase(f))
            _exit(2);
        const auto t = leerTablaDobleEntrada(d, motivo);
        if (!t || t->filas.size() != kPares || t->columnas.size() != kPares ||
            t->casillas.size() != kPares || t->N != 2 * kPares || t->n(7, 7 * 7919 % kPares) != 2 ||
            t->n(7, 8) != 0)
            _exit(3);
        if (t->csv(motivo) || motivo.find("100000 × 100000 casillas") == std::string::npos)
            _exit(4);
        _exit(0);
    }
    int estado = 0;
    ASSERT_EQ(waitpid(hijo, &estado, 0), hijo);
    ASSERT_TRUE(WIFEXITED(estado)) << "el proceso hijo terminó con la señal " << WTERMSIG(estado);
    EXPECT_EQ(WEXITSTATUS(estado), 0);
}

// The counts the measures refuse are refused here too, naming the record.
TEST_F(TablaDobleEntradaTest, ACountThatIsNotAWholeNumberIsRefused) {
    const std::string f = aMano("a.mdb", "CREATE TABLE ENUNCIADO (TIPO, CLASE, ENUNCIADO);"
                                         "INSERT INTO ENUNCIADO VALUES ('Discreta, Discreta', "
                                         "'Dist. BIDIMENSIONAL', '');"
                                         "CREATE TABLE DISDIS (Xi, Yi, ni);"
                                         "INSERT INTO DISDIS VALUES (1, 1, 2), (1, 2, 0.5);");
    std::string motivo;
    EXPECT_FALSE(leer(f, motivo));
    EXPECT_EQ(motivo, "Registro 2: el campo «ni» no es un número entero («0.5»)");
}

} // namespace
} // namespace kalnor::testing
