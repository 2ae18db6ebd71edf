#include "ExportacionCsv.h"

#include "app/Documento.h"
#include "app/EscrituraAtomica.h"
#include "app/TextoExportado.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace kalnor {

namespace {

std::string numero(double valor, FormatoCsv formato) {
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor);
    std::string s(texto, r.ptr);
    if (formato == FormatoCsv::PuntoYComa)
        std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string celda(const stats::CellValue& v, FormatoCsv formato) {
    if (v.isNumber())
        return numero(v.asNumber(), formato);
    return v.isText() ? campoCsv(v.asText()) : std::string();
}

} // namespace

std::string tablaCsv(const Documento& documento, FormatoCsv formato) {
    const char separador = formato == FormatoCsv::PuntoYComa ? ';' : ',';
    if (!documento.Data1.isOpen())
        return {};
    const std::vector<std::string>& campos = documento.Data1.FieldNames();
    std::vector<std::vector<stats::CellValue>> columnas;
    columnas.reserve(campos.size());
    for (const std::string& campo : campos)
        columnas.push_back(documento.Data1.column(campo));

    std::string salida;
    for (std::size_t c = 0; c < campos.size(); ++c) {
        if (c)
            salida += separador;
        salida += campoCsv(campos[c]);
    }
    salida += '\n';
    const std::size_t filas = columnas.empty() ? 0 : columnas.front().size();
    for (std::size_t f = 0; f < filas; ++f) {
        for (std::size_t c = 0; c < columnas.size(); ++c) {
            if (c)
                salida += separador;
            salida += celda(columnas[c][f], formato);
        }
        salida += '\n';
    }
    return salida;
}

QString exportarCsv(const Documento& documento, FormatoCsv formato, const QString& ruta) {
    if (!documento.Data1.isOpen())
        return QStringLiteral("No hay un archivo abierto.");
    const std::string texto = tablaCsv(documento, formato);
    return escribirAtomico(ruta,
                           QByteArrayView(texto.data(), static_cast<qsizetype>(texto.size())));
}

} // namespace kalnor
