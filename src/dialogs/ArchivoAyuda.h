#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace kalnor {

// The program's help file: topics found by keyword. UTF-8 text: each topic
// opens with one or more lines "== keyword"; the lines that follow are its
// text in Markdown, where [[Keyword]] or [[Keyword|text]] links to another
// topic and ![..](name.svg) shows a formula picture of the program's
// folder. A line "@ejemplo KIND | rows | control | result" states a worked
// example (rows "x,n;x,n", the control pressed and what the display shows),
// which the tests recompute. Lines starting with "#" before the first topic
// are comments.
class ArchivoAyuda {
public:
    struct Ejemplo {
        QString tipo;      // kind code, "DIS"
        QStringList filas; // one CSV row each, in the table's field order
        QString control;   // "cmdTECLA(5)", "cboCUARTILES:0" ...
        QString resultado; // the display, with a decimal comma
    };
    struct Tema {
        QStringList claves;
        QString texto;
        QList<Ejemplo> ejemplos;
    };

    static ArchivoAyuda leer(const QString& ruta); // empty when unreadable
    static ArchivoAyuda desdeTexto(const QString& texto);

    const QList<Tema>& temas() const { return temas_; }
    QStringList indice() const; // every keyword, sorted
    // The topic of `clave`: exact match first, then ignoring case and
    // accents; nullptr when none.
    const Tema* buscar(const QString& clave) const;
    // The first keyword of every topic whose keywords or text hold all the
    // words of `consulta` (ignoring case and accents), in file order.
    QStringList buscarTexto(const QString& consulta) const;
    // The topic's text as HTML for the help window.
    static QString html(const Tema& tema);
    // The topic as Markdown: its title, and links between topics as URLs of
    // the scheme "tema:" followed by the keyword.
    static QString markdown(const Tema& tema);
    // The keyword a "tema:" link leads to (empty for other links).
    static QString claveDeEnlace(const QUrl& enlace);

private:
    QList<Tema> temas_;
};

} // namespace kalnor
