#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kalnor {

// The program's help file: topics found by keyword. Plain UTF-8 text: each
// topic opens with one or more lines "== keyword"; the lines that follow
// are its text (blank lines part paragraphs, "- " starts a list item).
// Lines starting with "#" before the first topic are comments.
class ArchivoAyuda {
public:
    struct Tema {
        QStringList claves;
        QString texto;
    };

    static ArchivoAyuda leer(const QString& ruta); // empty when unreadable
    static ArchivoAyuda desdeTexto(const QString& texto);

    const QList<Tema>& temas() const { return temas_; }
    QStringList indice() const; // every keyword, sorted
    // The topic of `clave`: exact match first, then ignoring case and
    // accents; nullptr when none.
    const Tema* buscar(const QString& clave) const;
    // The topic's text as HTML for the help window.
    static QString html(const Tema& tema);

private:
    QList<Tema> temas_;
};

} // namespace kalnor
