#pragma once

#include "stats/CellValue.h"
#include "stats/Kinds.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <string>

namespace kalnor {

// What a column of the data table accepts.
enum class TipoCampo {
    Palabra, // a categorical value
    Numero,  // a real number (values, class limits, derived columns)
    Natural, // the absolute frequency "ni"
};

TipoCampo tipoDeCampo(const stats::KindInfo* kind, const std::string& campo);

// Column width of the grid, in twips: narrower for the frequency.
int anchoColumnaTwips(const std::string& campo);
int twipsAPixeles(int twips, double dpi);

// "##0.0##": at least one and at most three decimals; "##0": an integer.
// Numbers use the locale's decimal separator and no grouping.
QString formatoDecimal(double valor, const QLocale& locale);
QString formatoEntero(double valor, const QLocale& locale);
// A cell as the grid shows it: words as they are, numbers in the column's
// format, nulls empty.
QString textoCelda(const stats::CellValue& valor, const std::string& campo, const QLocale& locale);
// A cell for the clipboard: full precision, the locale's decimal separator.
QString textoCopia(const stats::CellValue& valor, const QLocale& locale);

// What the user typed, converted for a column; nullopt when the column
// cannot hold it. An empty text is a null cell.
std::optional<stats::CellValue> convertirEntrada(const QString& texto, TipoCampo tipo);

} // namespace kalnor
