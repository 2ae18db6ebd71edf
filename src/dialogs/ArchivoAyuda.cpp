#include "ArchivoAyuda.h"

#include <QCollator>
#include <QFile>
#include <QRegularExpression>

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
        if (linea.startsWith(QStringLiteral("@ejemplo "))) {
            const QStringList partes = linea.mid(9).split('|');
            if (partes.size() == 4)
                ayuda.temas_.back().ejemplos.append(
                    Ejemplo{partes[0].trimmed(), partes[1].trimmed().split(';'),
                            partes[2].trimmed(), partes[3].trimmed()});
            continue;
        }
        // Markdown keeps its indentation (tables, nested lists).
        QString limpia = linea;
        if (limpia.endsWith('\r'))
            limpia.chop(1);
        ayuda.temas_.back().texto += limpia + '\n';
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

QStringList ArchivoAyuda::buscarTexto(const QString& consulta) const {
    const QStringList palabras = simplificar(consulta).split(' ', Qt::SkipEmptyParts);
    QStringList claves;
    if (palabras.isEmpty())
        return claves;
    for (const Tema& tema : temas_) {
        const QString todo = simplificar(tema.claves.join(' ') + ' ' + tema.texto);
        const bool esta = std::all_of(palabras.begin(), palabras.end(),
                                      [&todo](const QString& p) { return todo.contains(p); });
        if (esta)
            claves.append(tema.claves.value(0));
    }
    return claves;
}

QString ArchivoAyuda::markdown(const Tema& tema) {
    static const QRegularExpression enlace(
        QStringLiteral("\\[\\[([^\\]|]+)(?:\\|([^\\]]+))?\\]\\]"));
    QString texto = tema.texto;
    QString salida;
    qsizetype desde = 0;
    for (auto it = enlace.globalMatch(texto); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        salida += texto.mid(desde, m.capturedStart() - desde);
        const QString clave = m.captured(1).trimmed();
        const QString mostrado = m.hasCaptured(2) ? m.captured(2).trimmed() : clave;
        salida +=
            '[' + mostrado + "](tema:" + QString::fromLatin1(QUrl::toPercentEncoding(clave)) + ')';
        desde = m.capturedEnd();
    }
    salida += texto.mid(desde);
    return "# " + tema.claves.value(0) + "\n\n" + salida;
}

QString ArchivoAyuda::claveDeEnlace(const QUrl& enlace) {
    if (enlace.scheme() != u"tema")
        return {};
    return QUrl::fromPercentEncoding(enlace.toString(QUrl::FullyEncoded).mid(5).toLatin1());
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
