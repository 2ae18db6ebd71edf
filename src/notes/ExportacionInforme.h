#pragma once

#include <QImage>
#include <QString>

#include <memory>
#include <string>

class QTextDocument;

namespace kalnor {

// The sheet a student hands in: the statement, the data table with its
// derived columns and the totals row, the four summary reports exactly as
// the notes' list writes them, and the chart. No widgets: the window and
// kalnor-cli write the same document.
//
// The distribution is read from its file by a document of its own, so the
// reports' keys never move the window's active variable or display.

// The informe of the distribution at `fichero`, with `grafico` as its chart
// (null: the frequency bars are drawn; none when the table is empty).
// Returns nullptr with `error` set when the file cannot be opened. A
// statement too big to take whole is cut, saying so in the informe and in
// `aviso` (when given).
std::unique_ptr<QTextDocument> componerInforme(const std::string& fichero, const QImage& grafico,
                                               QString& error, QString* aviso = nullptr);

// Writes the informe to `ruta` as PDF, HTML or ODT by its name. Returns why
// it failed, empty when written; nothing is written on failure.
QString exportarInforme(const std::string& fichero, const QImage& grafico, const QString& ruta,
                        QString* aviso = nullptr);

// Rows of the table the informe lists at most (the rest are counted).
inline constexpr int kFilasInforme = 500;

} // namespace kalnor
