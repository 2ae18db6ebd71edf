#pragma once

#include "SumaExacta.h"
#include "stats/CellValue.h"
#include "stats/Kinds.h"

#include <optional>
#include <string>
#include <vector>

namespace kalnor {

class RecordSet;

// The totals row under the grid: the exact sum of every column, kept up to
// date cell by cell. A column shows a total only when every record holds a
// number in it; words and empty cells leave it without one.
class TotalesColumnas {
public:
    // Every column summed afresh from the record set (closed: no columns).
    void recalcular(const RecordSet& datos, const stats::KindInfo* tipo);
    // One cell of an existing record changed from `antes` to `despues`.
    void cambiar(int columna, const stats::CellValue& antes, const stats::CellValue& despues);

    int columnas() const { return static_cast<int>(totales_.size()); }
    int registros() const { return registros_; }
    // The column's sum; nothing for a column of words, a column with an
    // empty or non-numeric cell, a table without records or an overflow.
    std::optional<double> suma(int columna) const;

private:
    struct Total {
        SumaExacta suma;
        int sinNumero = 0;     // cells that are not numbers
        bool palabras = false; // a categorical variable's field
    };
    void anotar(Total& t, const stats::CellValue& v, int signo);

    std::vector<Total> totales_;
    int registros_ = 0;
};

// The sum of a whole column as "Sumar la columna" takes it: exact, or
// nothing when a cell is empty or not a number (or there are no cells).
std::optional<double> sumaColumna(const std::vector<stats::CellValue>& celdas);

} // namespace kalnor
