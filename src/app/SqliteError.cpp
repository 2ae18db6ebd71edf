#include "SqliteError.h"

#include "CitaBreve.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace kalnor {

namespace {

struct Translation {
    const char* text;
    int code;
};

Translation translate(int extended) {
    switch (extended) {
    case SQLITE_CONSTRAINT_DATATYPE:
        return {"El valor no es del tipo que admite el campo", DbError::kTypeMismatch};
    case SQLITE_CONSTRAINT_CHECK:
        return {"El valor no cumple la regla de validación del campo", DbError::kValidationRule};
    case SQLITE_CONSTRAINT_NOTNULL:
        return {"El campo no admite un valor vacío", DbError::kRequiredField};
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return {"El valor está repetido en un campo que no admite duplicados",
                DbError::kDuplicateValue};
    default:
        break;
    }
    switch (extended & 0xff) {
    case SQLITE_CONSTRAINT:
        return {"El registro no cumple las reglas de la tabla", DbError::kValidationRule};
    case SQLITE_MISMATCH:
        return {"El valor no es del tipo que admite el campo", DbError::kTypeMismatch};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {"El fichero está bloqueado por otro proceso; inténtelo de nuevo", DbError::kLocked};
    case SQLITE_READONLY:
        return {"El fichero es de sólo lectura", DbError::kReadOnly};
    case SQLITE_CORRUPT:
        return {"El fichero está dañado", DbError::kDamaged};
    case SQLITE_NOTADB:
        return {"El fichero no es una base de datos", DbError::kNotADatabase};
    case SQLITE_CANTOPEN:
        return {"No se puede abrir el fichero", DbError::kCannotOpen};
    case SQLITE_FULL:
        return {"No queda espacio en el disco", DbError::kGeneric};
    case SQLITE_IOERR:
        return {"Error de lectura o escritura en el fichero", DbError::kGeneric};
    case SQLITE_NOMEM:
        return {"No hay memoria suficiente", DbError::kGeneric};
    case SQLITE_INTERRUPT:
        return {"La operación sobre el fichero tardaba demasiado y se ha detenido",
                DbError::kInterrupted};
    case SQLITE_TOOBIG:
        return {"El fichero tiene un valor o una instrucción más grande de lo que Kalnor admite",
                DbError::kUnsupported};
    default:
        return {"Error de la base de datos", DbError::kGeneric};
    }
}

// The field a constraint message names ("... column DIS.ni", "... failed:
// DIS.ni"), or "" when it names none.
std::string fieldIn(std::string_view detail) {
    std::size_t start = detail.rfind(" column ");
    if (start != std::string_view::npos) {
        start += 8;
    } else {
        start = detail.find("failed: ");
        if (start == std::string_view::npos)
            return {};
        start += 8;
    }
    std::string_view rest = detail.substr(start);
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos)
        return {};
    rest.remove_prefix(dot + 1);
    return std::string(rest.substr(0, rest.find(',')));
}

} // namespace

void throwSqlite(sqlite3* db, int rc, std::string_view context) {
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    // The connection's code may be stale when rc came from elsewhere.
    const int code = (extended & 0xff) == (rc & 0xff) ? extended : rc;
    const Translation t = translate(code);
    const char* errmsg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const std::string detail = errmsg ? errmsg : sqlite3_errstr(rc);
    std::string message = t.text;
    if ((code & 0xff) == SQLITE_CONSTRAINT) {
        const std::string field = fieldIn(detail);
        if (!field.empty())
            message += " «" + citaBreve(field) + "»";
    }
    if (!context.empty()) {
        message += " (";
        message += context;
        message += ")";
    }
    message += '.';
    // Failures without a plain explanation keep SQLite's words for whoever
    // has to look into them.
    if (t.code == DbError::kGeneric)
        message += " [" + detail + "]";
    throw DbError(message, t.code);
}

} // namespace kalnor
