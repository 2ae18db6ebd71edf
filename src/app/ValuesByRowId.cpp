#include "ValuesByRowId.h"

#include "DbError.h"

#include <sqlite3.h>

#include <algorithm>

namespace kalnor {

using stats::CellValue;

ValuesByRowId::ValuesByRowId(sqlite3* db, std::vector<std::pair<long long, std::size_t>> ids,
                             const std::vector<CellValue>& values,
                             std::function<void(int)> progress, std::size_t every)
    : db_(db), ids_(std::move(ids)), values_(values), progress_(std::move(progress)),
      every_(every == 0 ? 1 : every) {
    if (!std::is_sorted(ids_.begin(), ids_.end()))
        std::sort(ids_.begin(), ids_.end());
    // Direct only: no view or trigger in a file can call it.
    const int rc = sqlite3_create_function_v2(db_, name(), 2, SQLITE_UTF8 | SQLITE_DIRECTONLY, this,
                                              &ValuesByRowId::call, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(sqlite3_errmsg(db_), DbError::kGeneric);
}

ValuesByRowId::~ValuesByRowId() {
    sqlite3_create_function_v2(db_, name(), 2, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr, nullptr,
                               nullptr, nullptr, nullptr);
}

const char* ValuesByRowId::name() {
    return "kalnor_valor_de_fila";
}

void ValuesByRowId::rethrow() const {
    if (failure_)
        std::rethrow_exception(failure_);
}

const CellValue* ValuesByRowId::find(long long id) {
    // The table is walked in row-id order, so the next id is nearly always
    // the one wanted; anything else is searched for.
    if (next_ >= ids_.size() || ids_[next_].first != id) {
        const auto it = std::lower_bound(ids_.begin(), ids_.end(), id,
                                         [](const auto& e, long long v) { return e.first < v; });
        if (it == ids_.end() || it->first != id)
            return nullptr;
        next_ = static_cast<std::size_t>(it - ids_.begin());
    }
    return &values_[ids_[next_++].second];
}

void ValuesByRowId::call(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto& self = *static_cast<ValuesByRowId*>(sqlite3_user_data(ctx));
    const CellValue* v = self.find(sqlite3_value_int64(argv[0]));
    if (!v) {
        sqlite3_result_value(ctx, argv[1]);
        return;
    }
    if (self.progress_ && ++self.calls_ % self.every_ == 0) {
        try {
            self.progress_(static_cast<int>(self.calls_));
        } catch (...) {
            self.failure_ = std::current_exception();
            sqlite3_result_error(ctx, "interrumpido", -1);
            return;
        }
    }
    if (const double* d = v->numberIf()) {
        sqlite3_result_double(ctx, *d);
    } else if (v->isText()) {
        const std::string& t = v->asText();
        sqlite3_result_text(ctx, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_result_null(ctx);
    }
}

} // namespace kalnor
