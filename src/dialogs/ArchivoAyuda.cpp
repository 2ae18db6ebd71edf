#include "ArchivoAyuda.h"

#include <QCollator>
#include <QFile>

#include <algorithm>

namespace kalnor {

namespace {

QString simplificar(const QString& clave) {
    QString normal = clave.normalized(QString::NormalizationForm_D);
    normal.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return normal.simplified().toCaseFolded();
}

} // namespace

ArchivoAyuda ArchivoAyuda::leer(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return desdeTexto(QString::fromUtf8(archivo.readAll()));
}

ArchivoAyuda ArchivoAyuda::desdeTexto(const QString& texto) {
    ArchivoAyuda ayuda;
    bool enClaves = false;
    for (const QString& linea : texto.split('\n')) {
        if (linea.startsWith(QStringLiteral("== "))) {
            if (!enClaves)
                ayuda.temas_.append(Tema{});
            ayuda.temas_.back().claves.append(linea.mid(3).trimmed());
            enClaves = true;
            continue;
        }
        enClaves = false;
        if (ayuda.temas_.isEmpty())
            continue; // comments before the first topic
        ayuda.temas_.back().texto += linea.trimmed() + '\n';
    }
    for (Tema& tema : ayuda.temas_)
        tema.texto = tema.texto.trimmed();
    return ayuda;
}

QStringList ArchivoAyuda::indice() const {
    QStringList claves;
    for (const Tema& tema : temas_)
        claves += tema.claves;
    QCollator orden(QLocale(QLocale::Spanish, QLocale::Spain));
    orden.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(claves.begin(), claves.end(),
              [&orden](const QString& a, const QString& b) { return orden.compare(a, b) < 0; });
    return claves;
}

const ArchivoAyuda::Tema* ArchivoAyuda::buscar(const QString& clave) const {
    for (const Tema& tema : temas_)
        if (tema.claves.contains(clave))
            return &tema;
    const QString buscada = simplificar(clave);
    for (const Tema& tema : temas_)
        for (const QString& c : tema.claves)
            if (simplificar(c) == buscada)
                return &tema;
    return nullptr;
}

QString ArchivoAyuda::html(const Tema& tema) {
    QString salida = QStringLiteral("<h2>%1</h2>").arg(tema.claves.value(0).toHtmlEscaped());
    for (const QString& parrafo : tema.texto.split(QStringLiteral("\n\n"))) {
        QStringList frases;
        QStringList elementos;
        auto volcar = [&] {
            if (!frases.isEmpty())
                salida += QStringLiteral("<p>%1</p>").arg(frases.join(' ').toHtmlEscaped());
            if (!elementos.isEmpty())
                salida += QStringLiteral("<ul><li>%1</li></ul>")
                              .arg(elementos.join(QStringLiteral("</li><li>")));
            frases.clear();
            elementos.clear();
        };
        for (const QString& linea : parrafo.split('\n')) {
            if (linea.startsWith(QStringLiteral("- "))) {
                if (!frases.isEmpty())
                    volcar();
                elementos.append(linea.mid(2).toHtmlEscaped());
            } else if (!linea.isEmpty()) {
                if (!elementos.isEmpty())
                    volcar();
                frases.append(linea);
            }
        }
        volcar();
    }
    return salida;
}

} // namespace kalnor
