// Opens arbitrary bytes as a distribution file and walks, reads and writes
// every table: damaged or hostile files must end in a DbError, never in a
// crash, a hang or a leak.
#include "app/Database.h"
#include "app/DbError.h"
#include "app/RecordSet.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void exercise(const std::shared_ptr<kalnor::Database>& db, const std::string& table) {
    kalnor::RecordSet rs(db, "SELECT * FROM " + kalnor::quoteIdentifier(table));
    kalnor::RecordSet clone = rs.Clone();
    clone.MoveLast();
    (void)clone.RecordCount();
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        for (int f = 0; f < static_cast<int>(rs.FieldNames().size()); ++f)
            (void)rs.Field(f);
    }
    if (rs.FieldNames().empty())
        return;
    const std::string first = rs.FieldNames().front();
    (void)rs.column(first);
    kalnor::RecordSet sorted(db, "SELECT * FROM " + kalnor::quoteIdentifier(table) + " ORDER BY [" +
                                     first + "]");
    (void)sorted;
}

void writeTo(const std::shared_ptr<kalnor::Database>& db, const std::string& table) {
    using kalnor::stats::CellValue;
    kalnor::RecordSet rs(db, "SELECT * FROM " + kalnor::quoteIdentifier(table));
    if (rs.FieldNames().empty())
        return;
    if (!rs.IsEOF()) {
        rs.Edit();
        rs.SetField(0, CellValue::number(1.5));
        rs.Update();
        rs.Move(0);
        rs.Delete();
    }
    rs.AddNew();
    rs.SetField(0, CellValue::text("ñ"));
    rs.Update();
    db->addDoubleField(table, "Xi²·ni");
    db->dropField(table, "Xi²·ni");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("kalnor_fuzz_" + std::to_string(getpid()) + ".mdb"))
                                        .string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        auto db = kalnor::Database::open(path);
        for (const auto& table : db->tableNames()) {
            try {
                exercise(db, table);
                writeTo(db, table);
            } catch (const kalnor::DbError&) {
            }
        }
    } catch (const kalnor::DbError&) {
    }
    std::error_code ec;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        std::filesystem::remove(path + suffix, ec);
    return 0;
}
