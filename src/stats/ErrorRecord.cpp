#include "ErrorRecord.h"

namespace kalnor::stats {

std::string describe(ErrorCode code) {
    switch (code) {
    case ErrorCode::None:
        return {};
    case ErrorCode::InvalidArgument:
        return "Argumento no válido (logaritmo de un valor que no es positivo)";
    case ErrorCode::Overflow:
        return "Desbordamiento";
    case ErrorCode::IndexOutOfRange:
        return "Subíndice fuera del intervalo";
    case ErrorCode::DivisionByZero:
        return "División por cero";
    case ErrorCode::TypeMismatch:
        return "No coinciden los tipos";
    case ErrorCode::InvalidUseOfNull:
        return "Uso no válido de Null";
    case ErrorCode::UnreadableRecord:
        return "Registro ilegible";
    case ErrorCode::Database:
        return "Error de la base de datos";
    }
    return "Error";
}

} // namespace kalnor::stats
