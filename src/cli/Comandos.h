#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QCoreApplication;

namespace kalnor {
class Documento;
}
namespace kalnor::stats {
class CellValue;
}

namespace kalnor::cli {

// Arguments after the command name.
using Argumentos = std::vector<std::string>;

// Exit codes shared by every command.
inline constexpr int kExito = 0;
inline constexpr int kError = 1;
inline constexpr int kUsoIncorrecto = 2;

// One subcommand of kalnor-cli. `uso` is the usage line without the program name.
struct Comando {
    std::string_view nombre;
    std::string_view uso;
    int (*ejecutar)(const Argumentos& args);
};

// The table of commands, in the order the usage text lists them.
std::span<const Comando> comandos();
const Comando* buscarComando(std::string_view nombre);

// Helpers for the commands: Spanish message on stderr, then the exit code.
int fallo(std::string_view mensaje);        // returns kError
int usoIncorrecto(std::string_view nombre); // prints the command's usage, returns kUsoIncorrecto
// Opens a distribution; on failure prints why and returns false.
bool abrir(Documento& doc, const std::string& fichero);
// Reads X (and Y of a two-variable table) as the keys will: the message of
// the first record that cannot be read, empty when all can. The keys show
// "?" then, and a command that prints them must not exit as if it succeeded.
std::string variablesIlegibles(Documento& doc);
// Shortest decimal text that reads back as the same double.
std::string numeroExacto(double valor);
// A cell as a CSV field: numbers exact, words quoted when needed, empty for null.
std::string campoCsv(const stats::CellValue& valor);

// The commands, one file each.
int Nueva(const Argumentos& args);
int Cargar(const Argumentos& args);
int Tabla(const Argumentos& args);
int Info(const Argumentos& args);
int Recuento(const Argumentos& args);
int Importar(const Argumentos& args); // Importar.cpp
int Medidas(const Argumentos& args);  // Medidas.cpp
int Grafico(const Argumentos& args);  // Grafico.cpp

// The application object the command needs (a QApplication for charts).
std::unique_ptr<QCoreApplication> crearAplicacion(int& argc, char** argv);
int Gini(const Argumentos& args);     // Gini.cpp
int Columna(const Argumentos& args);  // Columnas.cpp
int Suma(const Argumentos& args);     // Columnas.cpp
int Eliminar(const Argumentos& args); // Columnas.cpp
int Informe(const Argumentos& args);  // Informe.cpp
int Exportar(const Argumentos& args); // Exportar.cpp

} // namespace kalnor::cli
