#include "DatabaseFixture.h"

#include "app/DbError.h"

#include <gmock/gmock.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

namespace kalnor::testing {
namespace {

using ::testing::ElementsAre;

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool integrityOk(const std::string& path) {
    auto db = Database::open(path, Database::Mode::ReadOnly);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db->handle(), "PRAGMA integrity_check", -1, &st, nullptr);
    const bool ok = sqlite3_step(st) == SQLITE_ROW &&
                    std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok";
    sqlite3_finalize(st);
    return ok;
}

int openErrorCode(const std::string& path) {
    try {
        Database::open(path);
    } catch (const DbError& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
        return e.code();
    }
    return 0;
}

// --- Refusals ------------------------------------------------------------

using DatabaseOpen = DatabaseFixture;

TEST_F(DatabaseOpen, RefusesAMissingFileWithoutCreatingIt) {
    const std::string missing = file("no_existe.mdb");
    EXPECT_EQ(openErrorCode(missing), DbError::kFileNotFound);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(DatabaseOpen, RefusesAnEmptyPathAndAFolder) {
    EXPECT_EQ(openErrorCode(""), DbError::kFileNotFound);
    EXPECT_EQ(openErrorCode(dir_.string()), DbError::kNotADatabase);
}

TEST_F(DatabaseOpen, RefusesATextFileAndAnEmptyFile) {
    writeBytes(file("notas.mdb"), "Esto no es una base de datos.\n");
    writeBytes(file("vacio.mdb"), "");
    EXPECT_EQ(openErrorCode(file("notas.mdb")), DbError::kNotADatabase);
    EXPECT_EQ(openErrorCode(file("vacio.mdb")), DbError::kNotADatabase);
    EXPECT_EQ(readBytes(file("notas.mdb")), "Esto no es una base de datos.\n");
}

TEST_F(DatabaseOpen, RecognisesAnAccessFileByItsHeader) {
    for (const std::string signature : {"Standard Jet DB", "Standard ACE DB"}) {
        std::string header(2048, '\0');
        header.replace(4, signature.size(), signature);
        writeBytes(file("access.mdb"), header);
        try {
            Database::open(file("access.mdb"));
            FAIL() << "opened an Access file";
        } catch (const DbError& e) {
            EXPECT_EQ(e.code(), DbError::kAccessFile);
            EXPECT_THAT(e.what(), ::testing::HasSubstr("Microsoft Access"));
        }
        EXPECT_TRUE(Database::isAccessFile(file("access.mdb")));
    }
    EXPECT_FALSE(Database::isAccessFile(path_));
    EXPECT_FALSE(Database::isAccessFile(file("no_existe.mdb")));
}

TEST_F(DatabaseOpen, RefusesADamagedFileAtOpen) {
    std::string bytes = readBytes(path_);
    ASSERT_GE(bytes.size(), 4096u);
    // Spoil the schema page after the header: the tables can no longer be
    // found, which must show now and not in a later command.
    for (std::size_t i = 100; i < 4096; ++i)
        bytes[i] = static_cast<char>(0xA5);
    writeBytes(file("roto.mdb"), bytes);
    EXPECT_NE(openErrorCode(file("roto.mdb")), 0);
}

TEST_F(DatabaseOpen, RefusesAFileWithADamagedTableAtOpen) {
    std::string bytes = readBytes(path_);
    ASSERT_GE(bytes.size(), 4u * 4096);
    bytes[2 * 4096] = 0x7F; // page type of the third page (a table's root)
    writeBytes(file("roto.mdb"), bytes);
    EXPECT_EQ(openErrorCode(file("roto.mdb")), DbError::kDamaged);
}

TEST_F(DatabaseOpen, RefusesATruncatedFile) {
    const std::string bytes = readBytes(path_);
    writeBytes(file("corto.mdb"), bytes.substr(0, 120));
    EXPECT_NE(openErrorCode(file("corto.mdb")), 0);
}

TEST_F(DatabaseOpen, CreateRefusesAnExistingFileAndLeavesAnOpenableOne) {
    EXPECT_THROW(Database::create(path_), DbError);
    { auto fresh = Database::create(file("nueva.mdb")); }
    auto again = Database::open(file("nueva.mdb"));
    EXPECT_TRUE(again->tableNames().empty());
}

TEST_F(DatabaseOpen, ReadOnlyRefusesWrites) {
    auto db = Database::open(path_, Database::Mode::ReadOnly);
    EXPECT_EQ(db->tableNames().size(), 3u);
    EXPECT_THROW(db->exec("DELETE FROM DIS"), DbError);
}

TEST_F(DatabaseOpen, FilesInWriteAheadModeGoBackToTheRollbackJournal) {
    {
        auto db = openDb();
        db->exec("PRAGMA journal_mode=WAL");
    }
    ASSERT_EQ(readBytes(path_)[18], 2); // the header says write-ahead log
    {
        auto db = openDb();
        RecordSet rs(db, "SELECT * FROM DIS");
        EXPECT_EQ(rs.RecordCount(), 5);
    }
    EXPECT_EQ(readBytes(path_)[18], 1);
    EXPECT_FALSE(std::filesystem::exists(path_ + "-wal"));
}

// --- Schema ----------------------------------------------------------------

using DatabaseSchema = DatabaseFixture;

TEST_F(DatabaseSchema, ListsTablesInCreationOrderAndFieldsInTableOrder) {
    auto db = openDb();
    EXPECT_THAT(db->tableNames(), ElementsAre("ENUNCIADO", "DIS", "CAT"));
    EXPECT_THAT(db->fieldNames("DIS"), ElementsAre("Xi", "ni"));
    EXPECT_TRUE(db->hasTable("DIS"));
    EXPECT_TRUE(db->hasTable("dis"));
    EXPECT_FALSE(db->hasTable("CON"));
    EXPECT_THROW(db->fieldNames("CON"), DbError);
}

TEST_F(DatabaseSchema, AddsAndDropsFieldsWithAnyCharacterInTheName) {
    const std::vector<std::string> names = {"¡Xi·ni",      "Xi²·ni",        "Xi³·ni",
                                            "% ni",        "|Xi - Media|",  "ln(Xi)",
                                            "Ni \"acum\"", "(Xi-Media)²·ni"};
    {
        auto db = openDb();
        for (const auto& name : names)
            db->addDoubleField("DIS", name);
        EXPECT_THROW(db->addDoubleField("DIS", names[0]), DbError);
        EXPECT_THROW(db->addDoubleField("DIS", ""), DbError);
        EXPECT_THROW(db->addDoubleField("CON", "X"), DbError);
    }
    auto db = openDb();
    auto fields = db->fieldNames("DIS");
    ASSERT_EQ(fields.size(), 2 + names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(fields[2 + i], names[i]);

    RecordSet rs(db, "SELECT * FROM DIS ORDER BY [" + names[1] + "]");
    rs.Edit();
    rs.SetField(names[1], stats::CellValue::number(2.5));
    rs.Update();
    EXPECT_EQ(rs.Field(names[1]), stats::CellValue::number(2.5));
    rs.Close();

    db->dropField("DIS", names[0]);
    db->dropField("DIS", names[4]);
    EXPECT_THROW(db->dropField("DIS", names[4]), DbError);
    fields = db->fieldNames("DIS");
    EXPECT_EQ(fields.size(), names.size());
    EXPECT_EQ(fields[2], names[1]);
}

TEST(QuoteIdentifier, DoublesInnerQuotes) {
    EXPECT_EQ(quoteIdentifier("Xi"), "\"Xi\"");
    EXPECT_EQ(quoteIdentifier("a\"b"), "\"a\"\"b\"");
}

// --- Transactions --------------------------------------------------------------

using DatabaseTransaction = DatabaseFixture;

TEST_F(DatabaseTransaction, CommitKeepsAndDestructionRollsBack) {
    auto db = openDb();
    {
        Database::Transaction t(*db);
        db->exec("INSERT INTO DIS VALUES (9, 1)");
        t.commit();
    }
    {
        Database::Transaction t(*db);
        db->exec("INSERT INTO DIS VALUES (10, 1)");
        {
            Database::Transaction inner(*db);
            db->exec("INSERT INTO DIS VALUES (11, 1)");
        } // inner rolled back
        {
            Database::Transaction inner(*db);
            db->exec("INSERT INTO DIS VALUES (12, 1)");
            inner.commit();
        }
    } // outer rolled back, inner commit with it
    RecordSet rs(db, "SELECT * FROM DIS");
    EXPECT_EQ(rs.RecordCount(), 6);
}

// --- Two handles on one file -------------------------------------------------

using DatabaseSharing = DatabaseFixture;

TEST_F(DatabaseSharing, TwoHandlesWritingTheSameFileBothLand) {
    auto first = openDb();
    auto second = openDb();
    RecordSet a(first, "SELECT * FROM DIS");
    RecordSet b(second, "SELECT * FROM DIS");
    for (int i = 0; i < 50; ++i) {
        a.AddNew();
        a.SetField("Xi", stats::CellValue::number(100 + i));
        a.SetField("ni", stats::CellValue::number(1));
        a.Update();
        b.AddNew();
        b.SetField("Xi", stats::CellValue::number(200 + i));
        b.SetField("ni", stats::CellValue::number(1));
        b.Update();
    }
    // One handle's open transaction makes the other wait, then fail cleanly
    // rather than corrupt the file.
    {
        Database::Transaction t(*first);
        a.AddNew();
        a.SetField("Xi", stats::CellValue::number(999));
        a.Update();
        second->exec("PRAGMA busy_timeout = 50");
        b.AddNew();
        b.SetField("Xi", stats::CellValue::number(998));
        try {
            b.Update();
            FAIL() << "wrote while the other handle held the file";
        } catch (const DbError& e) {
            EXPECT_EQ(e.code(), DbError::kLocked);
        }
        b.CancelUpdate();
        t.commit();
    }
    RecordSet check(Database::open(path_), "SELECT * FROM DIS");
    EXPECT_EQ(check.RecordCount(), 5 + 100 + 1);
    EXPECT_TRUE(integrityOk(path_));
}

TEST_F(DatabaseSharing, TwoProcessesWritingTheSameFileStayConsistent) {
    constexpr int kRows = 40;
    const auto writer = [&](double base) {
        auto db = Database::open(path_);
        RecordSet rs(db, "SELECT * FROM DIS");
        for (int i = 0; i < kRows; ++i) {
            for (int attempt = 0;; ++attempt) {
                try {
                    Database::Transaction t(*db);
                    rs.AddNew();
                    rs.SetField("Xi", stats::CellValue::number(base + i));
                    rs.SetField("ni", stats::CellValue::number(1));
                    rs.Update();
                    t.commit();
                    break;
                } catch (const DbError&) {
                    if (attempt > 100)
                        throw;
                }
            }
        }
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            writer(10000);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    writer(20000);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    RecordSet check(Database::open(path_), "SELECT * FROM DIS");
    EXPECT_EQ(check.RecordCount(), 5 + 2 * kRows);
    EXPECT_TRUE(integrityOk(path_));
}

} // namespace
} // namespace kalnor::testing
