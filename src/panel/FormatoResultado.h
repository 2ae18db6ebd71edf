#pragma once

#include "stats/CellValue.h"

#include <QLocale>
#include <QString>

namespace kalnor {

// The result display's format "##0.0##": at least one and at most three
// decimals (rounded to three), no thousands separator, the locale's decimal
// separator.
QString formatoResultado(double valor, const QLocale& locale);
// Texts (a modal word, "Multimodal") are shown as they are; an empty value
// shows nothing.
QString formatoResultado(const stats::CellValue& valor, const QLocale& locale);

} // namespace kalnor
