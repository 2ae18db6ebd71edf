#pragma once

#include <QPageSize>
#include <QString>

#include <optional>

class QLocale;
class QPagedPaintDevice;
class QTextDocument;

namespace kalnor {

// The statement and notes of the NOT tab written out as a document of
// their own, and printed. No widgets: the dialogs live in AccionesNotas.
enum class FormatoNotas { Pdf, Html, Odt };

// The format a file name asks for (by its suffix, any case); nullopt when
// it is none of the three.
std::optional<FormatoNotas> formatoPorNombre(const QString& ruta);

// The paper of the country of `lugar`: Letter where it is the custom
// (United States, Canada, Mexico ...), A4 elsewhere (Spain).
QPageSize paginaDelLugar(const QLocale& lugar);

// Writes `notas` to `ruta` in `formato`, under `titulo` (the document's
// title in PDF and HTML). Returns why it failed, empty when written; the
// old file stays whole on failure.
QString exportarNotas(const QTextDocument& notas, const QString& titulo, const QString& ruta,
                      FormatoNotas formato);

// Lays `notas` out on the pages of `dispositivo` (a printer, a PDF) with
// margins of 2 cm.
void imprimirNotas(const QTextDocument& notas, QPagedPaintDevice& dispositivo);

} // namespace kalnor
