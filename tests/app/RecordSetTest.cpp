#include "DatabaseFixture.h"

#include "app/DbError.h"
#include "app/Gather.h"

#include <gmock/gmock.h>

namespace kalnor::testing {
namespace {

using stats::CellValue;
using ::testing::ElementsAre;

CellValue num(double v) {
    return CellValue::number(v);
}
CellValue txt(const std::string& s) {
    return CellValue::text(s);
}

// The values of one field, walking the set from its first row.
std::vector<CellValue> walk(RecordSet& rs, const std::string& field) {
    std::vector<CellValue> values;
    if (rs.RecordCount() == 0)
        return values;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        values.push_back(rs.Field(field));
    return values;
}

int errorCode(const auto& action) {
    try {
        action();
    } catch (const DbError& e) {
        return e.code();
    }
    return 0;
}

// --- Order -------------------------------------------------------------------

using RecordSetOrder = DatabaseFixture;

TEST_F(RecordSetOrder, WithoutOrderByRowsComeInInsertionOrder) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    EXPECT_THAT(walk(rs, "Xi"), ElementsAre(num(5), num(2), num(3), num(2), CellValue::null()));
    EXPECT_THAT(rs.FieldNames(), ElementsAre("Xi", "ni"));
    EXPECT_EQ(rs.rowSource(), "SELECT * FROM DIS");
}

TEST_F(RecordSetOrder, OrderByANumericFieldSortsByValueWithEmptyCellsFirst) {
    auto db = openDb();
    db->exec("INSERT INTO DIS VALUES (10, 1), (-1.5, 1)");
    RecordSet rs(db, "SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_THAT(walk(rs, "Xi"),
                ElementsAre(CellValue::null(), num(-1.5), num(2), num(2), num(3), num(5), num(10)));
    // Equal keys keep their stored order.
    rs.MoveFirst();
    rs.Move(2);
    EXPECT_EQ(rs.Field("ni"), num(1));
    rs.MoveNext();
    EXPECT_EQ(rs.Field("ni"), num(4));
}

TEST_F(RecordSetOrder, RowIdsBeyond32BitsAreKeptWhole) {
    auto db = openDb();
    db->exec("INSERT INTO DIS (rowid, Xi, ni) VALUES (5000000000, 1, 9)");
    RecordSet rs(db, "SELECT * FROM DIS ORDER BY [Xi]");
    rs.MoveFirst();
    rs.Move(1); // the record of the big id: the only Xi = 1
    EXPECT_EQ(rs.currentRowId(), 5000000000LL);
    rs.Edit();
    rs.SetField("ni", num(4));
    rs.Update();
    RecordSet again(db, "SELECT * FROM DIS");
    again.MoveLast();
    EXPECT_EQ(again.currentRowId(), 5000000000LL);
    EXPECT_EQ(again.Field("ni"), num(4));
    EXPECT_EQ(again.Field("Xi"), num(1));
}

TEST_F(RecordSetOrder, OrderByAWordFieldSortsAlphabeticallyInSpanish) {
    auto db = openDb();
    db->exec("INSERT INTO CAT VALUES ('zapato', 1), ('Ñu', 1), ('árbol', 1), ('nube', 1), "
             "('Barco', 1), ('avión', 1), ('oca', 1), ('10', 1), ('9', 1), ('Árbol', 1)");
    RecordSet rs(db, "SELECT * FROM CAT ORDER BY [Xi]");
    EXPECT_THAT(walk(rs, "Xi"),
                ElementsAre(txt("10"), txt("9"), txt("Árbol"), txt("árbol"), txt("avión"),
                            txt("Barco"), txt("nube"), txt("Ñu"), txt("oca"), txt("zapato")));
}

TEST_F(RecordSetOrder, MixedCellsSortEmptyThenNumbersThenWords) {
    auto db = openDb();
    db->exec("CREATE TABLE LIBRE (v, n)");
    db->exec("INSERT INTO LIBRE VALUES ('b', 1), (3, 2), (NULL, 3), ('A', 4), (-2.5, 5), "
             "('a', 6), (3, 7)");
    RecordSet up(db, "SELECT * FROM LIBRE ORDER BY [v]");
    EXPECT_THAT(walk(up, "n"), ElementsAre(num(3), num(5), num(2), num(7), num(4), num(6), num(1)));
    RecordSet down(db, "SELECT * FROM LIBRE ORDER BY [v] DESC");
    EXPECT_THAT(walk(down, "n"),
                ElementsAre(num(1), num(6), num(4), num(2), num(7), num(5), num(3)));
}

// A big table is read in two halves at once: every row once, in order, as
// stored; inside a transaction, the rows not yet committed too.
TEST_F(RecordSetOrder, ABigTableComesWholeAndInOrder) {
    auto db = openDb();
    db->exec("CREATE TABLE LIBRE (v, n);"
             "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 300000) "
             "INSERT INTO LIBRE SELECT CASE WHEN i % 1000 = 0 THEN 'p' || i WHEN i % 777 = 0 "
             "THEN NULL ELSE i * 0.5 END, i FROM c;"
             "DELETE FROM LIBRE WHERE rowid % 5000 = 3 OR rowid BETWEEN 140000 AND 160000;");
    const auto comprobar = [&](long long filas) {
        RecordSet rs(db, "SELECT * FROM LIBRE");
        ASSERT_EQ(rs.RecordCount(), filas);
        const std::vector<CellValue> v = rs.column("v");
        const std::vector<CellValue> n = rs.column("n");
        long long k = 0;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext(), ++k) {
            const long long i = rs.currentRowId();
            ASSERT_EQ(n[k], num(static_cast<double>(i))) << k;
            const CellValue esperado = i % 1000 == 0  ? CellValue::text("p" + std::to_string(i))
                                       : i % 777 == 0 ? CellValue::null()
                                                      : num(i * 0.5);
            ASSERT_EQ(v[k], esperado) << k;
            if (k > 0)
                ASSERT_LT(n[k - 1].asNumber(), n[k].asNumber());
        }
        EXPECT_EQ(k, filas);
    };
    const long long filas = 279943; // 300,000 less the 20,057 deleted
    comprobar(filas);
    {
        Database::Transaction t(*db);
        db->exec("INSERT INTO LIBRE VALUES (150000.5, 300001)");
        comprobar(filas + 1);
    }
    comprobar(filas);
    // Row ids far apart: the halves split the span of the ids, and neither
    // is sized by it.
    db->exec("INSERT INTO LIBRE (rowid, v, n) VALUES (1099511627776, 549755813888, "
             "1099511627776)");
    comprobar(filas + 1);
}

TEST_F(RecordSetOrder, AcceptsTheRowSourceSpellingsInUse) {
    auto db = openDb();
    EXPECT_EQ(RecordSet(db, "SELECT * FROM [ENUNCIADO]").RecordCount(), 1);
    EXPECT_EQ(RecordSet(db, "select * from DIS order by ni desc").Field("ni"), num(4));
    EXPECT_EQ(RecordSet(db, "SELECT * FROM \"DIS\" ORDER BY \"Xi\";").RecordCount(), 5);
    EXPECT_EQ(errorCode([&] { RecordSet(db, "SELECT Xi FROM DIS"); }), DbError::kBadRowSource);
    EXPECT_EQ(errorCode([&] { RecordSet(db, "SELECT * FROM DIS WHERE 1"); }),
              DbError::kBadRowSource);
    EXPECT_EQ(errorCode([&] { RecordSet(db, "SELECT * FROM CON"); }), DbError::kTableNotFound);
    EXPECT_EQ(errorCode([&] { RecordSet(db, "SELECT * FROM DIS ORDER BY [Yi]"); }),
              DbError::kFieldNotFound);
}

TEST_F(RecordSetOrder, RefreshRereadsTheFile) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    db->exec("DELETE FROM DIS WHERE Xi = 5");
    EXPECT_EQ(rs.RecordCount(), 5);
    const auto antes = rs.revision();
    rs.Refresh();
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs.Field("Xi"), num(2));
    // Readers that cached the old rows must see a change.
    EXPECT_GT(rs.revision(), antes);
}

// --- Walking -----------------------------------------------------------------

using RecordSetWalk = DatabaseFixture;

TEST_F(RecordSetWalk, EmptySetIsAtBothEnds) {
    RecordSet rs(openDb(), "SELECT * FROM CAT");
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(rs.AbsolutePosition(), -1);
    rs.MoveFirst();
    rs.MoveLast();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(errorCode([&] { rs.MoveNext(); }), DbError::kNoCurrentRecord);
    EXPECT_EQ(errorCode([&] { rs.Field("Xi"); }), DbError::kNoCurrentRecord);
    EXPECT_TRUE(rs.column("Xi").empty());
}

TEST_F(RecordSetWalk, OpensOnTheFirstRowAndWalksToBothEnds) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.Field("Xi"), num(5));
    EXPECT_EQ(rs.AbsolutePosition(), 0);

    rs.MoveLast();
    EXPECT_EQ(rs.Field("ni"), num(2));
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(errorCode([&] { rs.Field("Xi"); }), DbError::kNoCurrentRecord);
    EXPECT_EQ(errorCode([&] { rs.MoveNext(); }), DbError::kNoCurrentRecord);
    rs.MovePrevious(); // back from past the end
    EXPECT_EQ(rs.AbsolutePosition(), 4);

    rs.MoveFirst();
    rs.MovePrevious();
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_EQ(errorCode([&] { rs.MovePrevious(); }), DbError::kNoCurrentRecord);
    rs.MoveNext();
    EXPECT_EQ(rs.Field("Xi"), num(5));
}

TEST_F(RecordSetWalk, MoveByRowsAndByPosition) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    rs.Move(2);
    EXPECT_EQ(rs.Field("Xi"), num(3));
    rs.Move(-1);
    EXPECT_EQ(rs.Field("Xi"), num(2));
    rs.Move(10);
    EXPECT_TRUE(rs.IsEOF());
    rs.setAbsolutePosition(3);
    EXPECT_EQ(rs.Field("ni"), num(4));
    EXPECT_EQ(errorCode([&] { rs.setAbsolutePosition(5); }), DbError::kNoCurrentRecord);
}

TEST_F(RecordSetWalk, MoveZeroRereadsTheCurrentRowFromTheFile) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    Database::open(path_)->exec("UPDATE DIS SET ni = 7 WHERE Xi = 5");
    EXPECT_EQ(rs.Field("ni"), num(1));
    rs.Move(0);
    EXPECT_EQ(rs.Field("ni"), num(7));
    Database::open(path_)->exec("DELETE FROM DIS WHERE Xi = 5");
    EXPECT_EQ(errorCode([&] { rs.Move(0); }), DbError::kRecordDeleted);
    EXPECT_EQ(rs.RecordCount(), 4);
}

// --- Writing -----------------------------------------------------------------

using RecordSetWrite = DatabaseFixture;

TEST_F(RecordSetWrite, EditUpdateWritesTheFileAndKeepsThePosition) {
    RecordSet rs(openDb(), "SELECT * FROM DIS ORDER BY [Xi]");
    rs.Move(2); // the second 2
    const auto before = rs.revision();
    rs.Edit();
    rs.SetField("Xi", num(99));
    EXPECT_EQ(rs.Field("Xi"), num(99)); // reads the edit buffer
    rs.Update();
    EXPECT_EQ(rs.Field("Xi"), num(99));
    EXPECT_EQ(rs.AbsolutePosition(), 2); // the set is not re-sorted
    EXPECT_GT(rs.revision(), before);
    rs.Close();

    RecordSet again(openDb(), "SELECT * FROM DIS");
    EXPECT_THAT(walk(again, "Xi"), ElementsAre(num(5), num(2), num(3), num(99), CellValue::null()));
}

TEST_F(RecordSetWrite, AddNewAppendsAtTheEndAndStaysOnTheNewRow) {
    RecordSet rs(openDb(), "SELECT * FROM DIS ORDER BY [Xi]");
    rs.AddNew();
    rs.SetField("Xi", num(0.5));
    rs.SetField("ni", num(3));
    rs.Update();
    EXPECT_EQ(rs.RecordCount(), 6);
    EXPECT_EQ(rs.AbsolutePosition(), 5);
    EXPECT_EQ(rs.Field("Xi"), num(0.5));
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());

    rs.AddNew();
    rs.SetField("Xi", CellValue()); // empty means an empty cell
    rs.Update();
    EXPECT_EQ(rs.Field("Xi"), CellValue::null());
    EXPECT_EQ(rs.Field("ni"), CellValue::null());
    rs.Close();

    RecordSet again(openDb(), "SELECT * FROM DIS");
    EXPECT_EQ(again.RecordCount(), 7);
    again.MoveLast();
    again.MovePrevious();
    EXPECT_EQ(again.Field("Xi"), num(0.5));
    EXPECT_EQ(again.Field("ni"), num(3));
}

TEST_F(RecordSetWrite, AddNewOnAnEmptySet) {
    RecordSet rs(openDb(), "SELECT * FROM CAT");
    rs.AddNew();
    rs.SetField("Xi", txt("Rojo"));
    rs.SetField("ni", num(2));
    rs.Update();
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_EQ(rs.Field("Xi"), txt("Rojo"));
}

TEST_F(RecordSetWrite, CancelUpdateDiscardsTheBuffer) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    rs.MoveNext();
    rs.Edit();
    rs.SetField("ni", num(50));
    rs.CancelUpdate();
    EXPECT_EQ(rs.Field("ni"), num(1));
    rs.AddNew();
    rs.SetField("ni", num(50));
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    EXPECT_EQ(errorCode([&] { rs.CancelUpdate(); }), DbError::kNotUpdating);
    rs.Edit();
    rs.SetField("ni", num(50));
    rs.MoveNext(); // moving away drops the edit
    rs.MovePrevious();
    EXPECT_EQ(rs.Field("ni"), num(1));
}

TEST_F(RecordSetWrite, WritingOutsideAnEditIsRefused) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    EXPECT_EQ(errorCode([&] { rs.SetField("ni", num(2)); }), DbError::kNotUpdating);
    EXPECT_EQ(errorCode([&] { rs.Update(); }), DbError::kNotUpdating);
    rs.Edit();
    EXPECT_EQ(errorCode([&] { rs.SetField("nada", num(2)); }), DbError::kFieldNotFound);
    EXPECT_EQ(errorCode([&] { rs.Field("nada"); }), DbError::kFieldNotFound);
}

TEST_F(RecordSetWrite, ValuesTheTableRefusesComeBackAsErrorsAndLeaveTheFileAlone) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    rs.Edit();
    rs.SetField("ni", num(2.5));
    try {
        rs.Update();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), DbError::kTypeMismatch);
        EXPECT_THAT(e.what(),
                    ::testing::StartsWith("El valor no es del tipo que admite el campo «ni»"));
    }
    rs.SetField("ni", num(-1));
    EXPECT_EQ(errorCode([&] { rs.Update(); }), DbError::kValidationRule);
    rs.SetField("ni", txt("mucho"));
    try {
        rs.Update();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("campo"));
    }
    rs.SetField("ni", num(6)); // the edit goes on and can still succeed
    rs.Update();
    EXPECT_EQ(rs.Field("ni"), num(6));

    rs.AddNew();
    rs.SetField("Xi", txt("dos"));
    EXPECT_EQ(errorCode([&] { rs.Update(); }), DbError::kTypeMismatch);
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 5);
    rs.Close();
    RecordSet again(openDb(), "SELECT * FROM DIS");
    EXPECT_EQ(again.RecordCount(), 5);
    EXPECT_EQ(again.Field("ni"), num(6));
}

TEST_F(RecordSetWrite, ReadsNumbersWordsAndEmptyCellsByTheirStoredType) {
    auto db = openDb();
    db->exec("CREATE TABLE LIBRE (a, b, c)");
    db->exec("INSERT INTO LIBRE VALUES (3, 'tres', NULL), (2.5, '2,5', x'41')");
    RecordSet rs(db, "SELECT * FROM LIBRE");
    EXPECT_EQ(rs.Field("a"), num(3));
    EXPECT_EQ(rs.Field("b"), txt("tres"));
    EXPECT_EQ(rs.Field("c"), CellValue::null());
    rs.MoveNext();
    EXPECT_EQ(rs.Field("a"), num(2.5));
    EXPECT_EQ(rs.Field("b"), txt("2,5"));
    EXPECT_EQ(rs.Field("c"), txt("A"));
}

TEST_F(RecordSetWrite, WritesInsideATransactionLandTogether) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    {
        Database::Transaction t(*db);
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            rs.Edit();
            rs.SetField("ni", num(9));
            rs.Update();
        }
        t.commit();
    }
    RecordSet again(openDb(), "SELECT * FROM DIS");
    EXPECT_THAT(walk(again, "ni"), ElementsAre(num(9), num(9), num(9), num(9), num(9)));
}

// --- Re-sorting ----------------------------------------------------------------

using RecordSetReorder = DatabaseFixture;

// Every row of a set as (row id, values), walking from the first row.
std::vector<std::vector<CellValue>> rows(RecordSet& rs) {
    std::vector<std::vector<CellValue>> all;
    if (rs.RecordCount() == 0)
        return all;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        std::vector<CellValue> row{num(static_cast<double>(rs.currentRowId()))};
        for (int f = 0; f < static_cast<int>(rs.FieldNames().size()); ++f)
            row.push_back(rs.Field(f));
        all.push_back(std::move(row));
    }
    return all;
}

// What a fresh read of the file gives for `rowSource`.
std::vector<std::vector<CellValue>> fresh(const std::string& path, const std::string& rowSource) {
    RecordSet rs(Database::open(path), rowSource);
    return rows(rs);
}

TEST_F(RecordSetReorder, GivesTheRowsAFreshReadWouldInEveryOrder) {
    auto db = openDb();
    db->exec("INSERT INTO DIS VALUES (3, 7), (NULL, 1), (-4, 2), (2, 9);"
             "INSERT INTO CAT VALUES ('pera', 1), ('Árbol', 2), (NULL, 3), ('arbol', 4), "
             "(12, 5), ('pera', 6), ('ñu', 7), ('nube', 8);");
    for (const std::string table : {"DIS", "CAT"}) {
        RecordSet rs(db, "SELECT * FROM " + table);
        for (const std::string order :
             {" ORDER BY [Xi]", " ORDER BY Xi DESC", " ORDER BY [ni]", " ORDER BY [Xi] ASC", ""}) {
            const std::string source = "SELECT * FROM " + table + order;
            RecordSet sorted = rs.Reordered(source);
            EXPECT_EQ(sorted.rowSource(), source);
            EXPECT_EQ(sorted.AbsolutePosition(), 0);
            EXPECT_EQ(rows(sorted), fresh(path_, source)) << source;
            rs = std::move(sorted); // the next order starts from this one
        }
    }
}

TEST_F(RecordSetReorder, EarlierSetsAndClonesKeepTheirRows) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    RecordSet clone = rs.Clone();
    const RecordSet sorted = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_NE(sorted.revision(), rs.revision());
    const std::vector<CellValue> stored{num(5), num(2), num(3), num(2), CellValue::null()};
    EXPECT_EQ(walk(rs, "Xi"), stored);
    EXPECT_EQ(walk(clone, "Xi"), stored);
}

TEST_F(RecordSetReorder, SeesWritesMadeThroughTheSet) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS ORDER BY [Xi]");
    rs.MoveLast();
    rs.Edit();
    rs.SetField("Xi", num(-1));
    rs.Update();
    rs.AddNew();
    rs.SetField("Xi", num(2.5));
    rs.SetField("ni", num(6));
    rs.Update();
    rs.MoveFirst();
    rs.Delete();
    RecordSet sorted = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_EQ(rows(sorted), fresh(path_, "SELECT * FROM DIS ORDER BY [Xi]"));
    EXPECT_THAT(walk(sorted, "Xi"), ElementsAre(num(-1), num(2), num(2), num(2.5), num(3)));
}

TEST_F(RecordSetReorder, SeesWritesFromAnotherConnection) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    Database::open(path_)->exec(
        "INSERT INTO DIS VALUES (1, 8); UPDATE DIS SET ni = 3 WHERE Xi = 5");
    RecordSet sorted = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_THAT(walk(sorted, "Xi"),
                ElementsAre(CellValue::null(), num(1), num(2), num(2), num(3), num(5)));
    EXPECT_THAT(walk(sorted, "ni"), ElementsAre(num(2), num(8), num(1), num(4), num(1), num(3)));
}

TEST_F(RecordSetReorder, SeesOtherWritesOnTheSameConnection) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    RecordSet other(db, "SELECT * FROM DIS");
    db->exec("INSERT INTO DIS VALUES (0, 1)");
    other.MoveFirst();
    other.Delete();
    rs = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_THAT(walk(rs, "Xi"), ElementsAre(CellValue::null(), num(0), num(2), num(2), num(3)));
}

TEST_F(RecordSetReorder, ForgetsWritesThatWereRolledBack) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    {
        Database::Transaction t(*db);
        rs.MoveFirst();
        rs.Delete();
    } // rolled back: the row is still in the file
    RecordSet sorted = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_EQ(sorted.RecordCount(), 5);
    EXPECT_EQ(rows(sorted), fresh(path_, "SELECT * FROM DIS ORDER BY [Xi]"));
}

TEST_F(RecordSetReorder, SeesFieldsAddedSince) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    db->addDoubleField("DIS", "Fi");
    RecordSet sorted = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_THAT(sorted.FieldNames(), ElementsAre("Xi", "ni", "Fi"));
    EXPECT_EQ(rows(sorted), fresh(path_, "SELECT * FROM DIS ORDER BY [Xi]"));
}

// A big set's rows are placed on another thread after a sort: a clone of
// the earlier set written meanwhile must not reach the sorted rows, and a
// sorted set dropped before anyone reads it must not take the process down.
TEST_F(RecordSetReorder, ABigSetSortedWhileAnEarlierCloneIsWrittenKeepsBothRight) {
    auto db = openDb();
    db->exec("DELETE FROM DIS; WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c "
             "WHERE i < 250000) INSERT INTO DIS SELECT (i * 7919) % 1000, i % 9 + 1 FROM c");
    const std::string source = "SELECT * FROM DIS ORDER BY [Xi]";
    const auto expected = fresh(path_, source);
    RecordSet rs(db, "SELECT * FROM DIS");
    RecordSet clone = rs.Clone();
    { const RecordSet dropped = rs.Reordered(source); }
    RecordSet sorted = rs.Reordered(source);
    clone.MoveLast(); // the last rows are placed last
    clone.Edit();
    clone.SetField("ni", num(0));
    clone.Update();
    EXPECT_EQ(clone.Field("ni"), num(0));
    EXPECT_EQ(rows(sorted), expected);
}

// Re-sorting a sorted set starts from the rows in row-id order, found by
// slots when the ids are dense (gaps left by deletions) and by comparing
// when they are sparse; and a whole column written to a sorted set reaches
// the right rows either way.
TEST_F(RecordSetReorder, ASortedSetSortsAgainAndTakesAColumnWithDenseOrSparseRowIds) {
    auto db = openDb();
    db->addDoubleField("DIS", "Fi");
    for (const int step : {1, 5}) {
        db->exec("DELETE FROM DIS; WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM "
                 "c WHERE i < 30000) INSERT INTO DIS (rowid, Xi, ni) SELECT i * " +
                 std::to_string(step) +
                 ", (i * 7919) % 13, i % 9 + 1 FROM c; "
                 "DELETE FROM DIS WHERE rowid % 7 = 3");
        RecordSet rs(db, "SELECT * FROM DIS");
        for (const std::string order :
             {" ORDER BY [Xi]", " ORDER BY [ni] DESC", " ORDER BY [Xi]", "", " ORDER BY [ni]"}) {
            const std::string source = "SELECT * FROM DIS" + order;
            rs = rs.Reordered(source);
            EXPECT_EQ(rows(rs), fresh(path_, source)) << step << source;
        }
        std::vector<CellValue> values;
        for (int i = 0; i < rs.RecordCount(); ++i)
            values.push_back(num(i));
        rs.SetColumn(2, values);
        EXPECT_EQ(walk(rs, "Fi"), values);
        EXPECT_EQ(rows(rs), fresh(path_, "SELECT * FROM DIS ORDER BY [ni]")) << step;
    }
}

// A sorted set nobody has read yet is sorted again from the rows it came
// from; the places it tells are those of its own rows all the same.
TEST_F(RecordSetReorder, AnUnreadSortSortsAgainAndTellsWhereItsOwnRowsWent) {
    auto db = openDb();
    db->exec("DELETE FROM DIS; WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c "
             "WHERE i < 300000) INSERT INTO DIS SELECT (i * 7919) % 101, i % 9 + 1 FROM c");
    RecordSet rs(db, "SELECT * FROM DIS");
    const RecordSet byX = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    std::shared_ptr<const Placement> moves;
    RecordSet byN = byX.Reordered("SELECT * FROM DIS ORDER BY [ni] DESC", &moves);
    ASSERT_TRUE(moves);
    RecordSet again = byN.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_EQ(rows(again), fresh(path_, "SELECT * FROM DIS ORDER BY [Xi]"));
    // byX's rows, moved as told, are byN's.
    std::vector<CellValue> moved;
    place(byX.column("ni"), *moves, moved);
    EXPECT_EQ(moved, byN.column("ni"));
    EXPECT_EQ(rows(byN), fresh(path_, "SELECT * FROM DIS ORDER BY [ni] DESC"));
}

// Rows deleted or changed through an earlier set after a sort that nobody
// has read yet leave the sorted rows as they were when sorted.
TEST_F(RecordSetReorder, AnUnreadSortKeepsItsRowsWhenTheEarlierSetChanges) {
    auto db = openDb();
    RecordSet rs(db, "SELECT * FROM DIS");
    const auto before = fresh(path_, "SELECT * FROM DIS ORDER BY [Xi]");
    RecordSet sorted = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    rs.SetColumn(1, std::vector<CellValue>(5, num(7)));
    RecordSet sortedToo = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    const auto filled = fresh(path_, "SELECT * FROM DIS ORDER BY [Xi]");
    rs.MoveFirst();
    rs.Delete();
    rs.MoveLast();
    rs.Edit();
    rs.SetField("Xi", num(99));
    rs.Update();
    EXPECT_EQ(rows(sorted), before);
    EXPECT_EQ(rows(sortedToo), filled);
    EXPECT_EQ(rs.RecordCount(), 4);
}

// Two fields sorted by turns, as quantiles of X then of Y ask: a sort of
// the stored rows is made once and given again while those rows stay as
// they are, and made anew once they change.
TEST_F(RecordSetReorder, SortsByTurnsGiveWhatAFreshReadGivesBeforeAndAfterAChange) {
    auto db = openDb();
    db->exec("INSERT INTO DIS VALUES (3, 7), (NULL, 1), (-4, 2), (2, 9), (3, 1);");
    RecordSet rs(db, "SELECT * FROM DIS");
    const std::string porX = "SELECT * FROM DIS ORDER BY [Xi]";
    const std::string porN = "SELECT * FROM DIS ORDER BY [ni] DESC";
    const auto porTurnos = [&](const std::string& cuando) {
        for (int vuelta = 0; vuelta < 2; ++vuelta) {
            for (const std::string& source : {porX, porN}) {
                RecordSet sorted = rs.Reordered(source);
                EXPECT_EQ(rows(sorted), fresh(path_, source)) << cuando << source;
            }
        }
        // Sorts of sorts nobody read start from the stored rows too.
        RecordSet turno = rs.Reordered(porN).Reordered(porX).Reordered(porN);
        EXPECT_EQ(rows(turno), fresh(path_, porN)) << cuando;
    };
    porTurnos("al abrir: ");
    rs.SetColumn(
        0, {num(8), num(-1), num(0), num(8), CellValue(), num(5), num(6), num(-2), num(1), num(8)});
    porTurnos("tras escribir la columna: ");
    rs.MoveFirst();
    rs.Edit();
    rs.SetField("Xi", num(-9));
    rs.Update();
    porTurnos("tras editar: ");
    rs.AddNew();
    rs.SetField("Xi", num(4));
    rs.SetField("ni", num(100));
    rs.Update();
    porTurnos("tras añadir: ");
    rs.MoveFirst();
    rs.Delete();
    porTurnos("tras borrar: ");
}

// A whole field of a sort nobody has read is taken straight from the rows
// it was sorted from, in the sort's order: words, numbers and empty cells.
TEST_F(RecordSetReorder, AnUnreadSortGivesAWholeFieldInItsOrder) {
    auto db = openDb();
    // Enough rows, over few keys, for a sort that places rows by key.
    db->exec("INSERT INTO CAT VALUES ('pera', 1), ('Árbol', 2), (NULL, 3), ('arbol', 4), "
             "(12, 5), ('pera', 6), ('ñu', NULL), ('nube', 8);"
             "WITH RECURSIVE c(i) AS (SELECT 9 UNION ALL SELECT i + 1 FROM c WHERE i < 400) "
             "INSERT INTO CAT SELECT CASE i % 4 WHEN 0 THEN 'pera' WHEN 1 THEN i % 7 WHEN 2 "
             "THEN NULL ELSE 'ñu' END, i % 13 FROM c;");
    RecordSet rs(db, "SELECT * FROM CAT");
    for (const std::string source :
         {"SELECT * FROM CAT ORDER BY [Xi]", "SELECT * FROM CAT ORDER BY [ni] DESC"}) {
        const RecordSet sorted = rs.Reordered(source);
        RecordSet read(db, source);
        EXPECT_EQ(sorted.column("Xi"), walk(read, "Xi")) << source;
        EXPECT_EQ(sorted.column("ni"), walk(read, "ni")) << source;
        // A sort of that sort, still unread, starts from the stored rows.
        const RecordSet again = sorted.Reordered("SELECT * FROM CAT ORDER BY [Xi] DESC");
        RecordSet readAgain(db, "SELECT * FROM CAT ORDER BY [Xi] DESC");
        EXPECT_EQ(again.column("ni"), walk(readAgain, "ni")) << source;
    }
}

TEST_F(RecordSetReorder, RefusesWhatTheConstructorRefuses) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    EXPECT_EQ(errorCode([&] { rs.Reordered("SELECT * FROM DIS ORDER BY [Yi]"); }),
              DbError::kFieldNotFound);
    EXPECT_EQ(errorCode([&] { rs.Reordered("DELETE FROM DIS"); }), DbError::kBadRowSource);
    EXPECT_THAT(walk(rs, "ni"), ElementsAre(num(1), num(1), num(1), num(4), num(2)));
    // Another table is read from the file.
    RecordSet cat = rs.Reordered("SELECT * FROM [CAT]");
    EXPECT_EQ(cat.RecordCount(), 0);
    EXPECT_EQ(errorCode([] { RecordSet().Reordered("SELECT * FROM DIS"); }), DbError::kNotOpen);
}

// --- Whole columns -----------------------------------------------------------

using RecordSetColumn = DatabaseFixture;

// The file's cells of one field by row id.
std::vector<CellValue> stored(const std::string& path, const std::string& field) {
    RecordSet rs(Database::open(path), "SELECT * FROM DIS");
    return walk(rs, field);
}

TEST_F(RecordSetColumn, EachValueGoesToItsRowInAnyOrderAndTheRestKeepTheirs) {
    auto db = openDb();
    db->addDoubleField("DIS", "Fi");
    db->exec("UPDATE DIS SET Fi = -1");
    RecordSet rs(db, "SELECT * FROM DIS ORDER BY [Xi] DESC");
    std::vector<int> progress;
    rs.SetColumn(2, {num(10), CellValue(), CellValue::null(), num(0.5)},
                 [&](int done) { progress.push_back(done); });
    // The last row, without a value, keeps its -1.
    EXPECT_EQ(walk(rs, "Fi"), (std::vector<CellValue>{num(10), CellValue::null(), CellValue::null(),
                                                      num(0.5), num(-1)}));
    EXPECT_EQ(rows(rs), fresh(path_, "SELECT * FROM DIS ORDER BY [Xi] DESC"));
    EXPECT_EQ(progress.back(), 4);
    // The set still matches the file: a re-sort needs no fresh read to agree.
    RecordSet again = rs.Reordered("SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_EQ(rows(again), fresh(path_, "SELECT * FROM DIS ORDER BY [Xi]"));
}

TEST_F(RecordSetColumn, ARefusedValueOrAFailedProgressLeavesTheFileAndTheSetAsTheyWere) {
    auto db = openDb();
    db->addDoubleField("DIS", "Fi");
    RecordSet rs(db, "SELECT * FROM DIS");
    const std::vector<CellValue> before = stored(path_, "Fi");
    try {
        rs.SetColumn(2, {num(1), num(2), txt("tres"), num(4), num(5)});
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), DbError::kTypeMismatch);
        EXPECT_THAT(e.what(), ::testing::HasSubstr("«Fi»"));
    }
    EXPECT_EQ(stored(path_, "Fi"), before);
    EXPECT_EQ(walk(rs, "Fi"), before);
    // A big column reports as it goes and still lands whole.
    db->exec("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 140000) "
             "INSERT INTO DIS (Xi, ni) SELECT i, 1 FROM c");
    RecordSet big(db, "SELECT * FROM DIS ORDER BY [Xi] DESC");
    std::vector<CellValue> values;
    for (int i = 0; i < big.RecordCount(); ++i)
        values.push_back(num(i));
    struct Stop {};
    EXPECT_THROW(big.SetColumn(2, values, [](int) { throw Stop{}; }), Stop);
    EXPECT_EQ(rows(big), fresh(path_, "SELECT * FROM DIS ORDER BY [Xi] DESC"));
    std::vector<int> progress;
    big.SetColumn(2, values, [&](int done) { progress.push_back(done); });
    EXPECT_THAT(progress, ElementsAre(65536, 131072, 140005));
    big.MoveFirst();
    EXPECT_EQ(big.Field("Xi"), num(140000));
    EXPECT_EQ(big.Field("Fi"), num(0));
    RecordSet file(openDb(), "SELECT * FROM DIS ORDER BY [Xi] DESC");
    EXPECT_EQ(rows(file), rows(big));
}

// --- Delete ------------------------------------------------------------------

using RecordSetDelete = DatabaseFixture;

TEST_F(RecordSetDelete, StaysOnTheDeletedRowUntilTheNextMove) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    rs.MoveNext(); // 2
    rs.Delete();
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_EQ(errorCode([&] { rs.Field("Xi"); }), DbError::kRecordDeleted);
    EXPECT_EQ(errorCode([&] { rs.Delete(); }), DbError::kRecordDeleted);
    EXPECT_EQ(errorCode([&] { rs.Edit(); }), DbError::kRecordDeleted);
    rs.MoveNext();
    EXPECT_EQ(rs.Field("Xi"), num(3));
    rs.MovePrevious();
    EXPECT_EQ(rs.Field("Xi"), num(5));
    EXPECT_THAT(rs.column("Xi"), ElementsAre(num(5), num(3), num(2), CellValue::null()));
    rs.Close();

    RecordSet again(openDb(), "SELECT * FROM DIS");
    EXPECT_THAT(walk(again, "Xi"), ElementsAre(num(5), num(3), num(2), CellValue::null()));
}

TEST_F(RecordSetDelete, DeletingTheLastRowThenMovingNextReachesTheEnd) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    rs.MoveLast();
    rs.Delete();
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    rs.MovePrevious();
    EXPECT_EQ(rs.Field("ni"), num(4));
    EXPECT_EQ(rs.AbsolutePosition(), 3);
}

TEST_F(RecordSetDelete, DeletingEveryRowLeavesAnEmptySet) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    while (rs.RecordCount() > 0) {
        rs.MoveFirst();
        rs.Delete();
    }
    // Still on the deleted row: the next move reaches the end.
    EXPECT_EQ(errorCode([&] { rs.Field("Xi"); }), DbError::kRecordDeleted);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_TRUE(rs.IsBOF());
    rs.MoveFirst();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_TRUE(rs.IsBOF());
    RecordSet again(openDb(), "SELECT * FROM DIS");
    EXPECT_EQ(again.RecordCount(), 0);
}

// The tally walks like this: merge into the next row, step back, delete,
// step on to the merged row.
TEST_F(RecordSetDelete, MergeStepBackDeleteAndStepOn) {
    auto db = openDb();
    db->exec("DELETE FROM DIS; INSERT INTO DIS VALUES (2,1),(2,1),(3,1),(5,1),(5,1),(5,1)");
    RecordSet rs(db, "SELECT * FROM DIS ORDER BY [Xi]");
    rs.MoveFirst();
    while (!rs.IsEOF()) {
        const CellValue v = rs.Field("Xi");
        const double n = rs.Field("ni").asNumber();
        rs.MoveNext();
        if (!rs.IsEOF() && rs.Field("Xi") == v) {
            rs.Edit();
            rs.SetField("ni", num(n + rs.Field("ni").asNumber()));
            rs.Update();
            rs.MovePrevious();
            rs.Delete();
            if (!rs.IsEOF())
                rs.MoveNext();
        }
    }
    EXPECT_THAT(rs.column("Xi"), ElementsAre(num(2), num(3), num(5)));
    EXPECT_THAT(rs.column("ni"), ElementsAre(num(2), num(1), num(3)));
}

// --- Clone -------------------------------------------------------------------

using RecordSetClone = DatabaseFixture;

TEST_F(RecordSetClone, SharesRowsAndEditsButHasItsOwnPosition) {
    RecordSet rs(openDb(), "SELECT * FROM DIS");
    rs.MoveNext();
    RecordSet clone = rs.Clone();
    clone.MoveLast();
    EXPECT_EQ(clone.RecordCount(), 5);
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    EXPECT_EQ(clone.AbsolutePosition(), 4);

    clone.Edit();
    clone.SetField("Xi", num(8));
    clone.Update();
    clone.MoveFirst();
    clone.Delete();
    rs.MoveLast();
    EXPECT_EQ(rs.Field("Xi"), num(8));
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs.revision(), clone.revision());

    rs.AddNew();
    rs.SetField("Xi", num(1));
    rs.Update();
    clone.MoveLast();
    EXPECT_EQ(clone.Field("Xi"), num(1));

    clone.Close();
    EXPECT_FALSE(clone.isOpen());
    EXPECT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.RecordCount(), 5);
}

TEST_F(RecordSetClone, ClosedSetsRefuseEverything) {
    RecordSet rs;
    EXPECT_FALSE(rs.isOpen());
    EXPECT_TRUE(rs.FieldNames().empty());
    EXPECT_EQ(rs.fieldIndex("Xi"), -1);
    EXPECT_EQ(errorCode([&] { rs.RecordCount(); }), DbError::kNotOpen);
    EXPECT_EQ(errorCode([&] { rs.Clone(); }), DbError::kNotOpen);
    EXPECT_EQ(errorCode([&] { rs.MoveFirst(); }), DbError::kNotOpen);
}

TEST_F(RecordSetClone, TheDatabaseLivesAsLongAsASetUsesIt) {
    RecordSet rs(Database::open(path_), "SELECT * FROM DIS");
    RecordSet clone = rs.Clone();
    rs.Close();
    clone.Edit();
    clone.SetField("ni", num(3));
    clone.Update();
    EXPECT_EQ(clone.database()->path(), path_);
}

// --- Field names -------------------------------------------------------------

using RecordSetNames = DatabaseFixture;

TEST_F(RecordSetNames, UnicodeAndPunctuationInFieldNamesWorkEverywhere) {
    const std::vector<std::string> names = {"¡Xi",  "Xi·ni",           "Xi²·ni",    "Xi³·ni",
                                            "% ni", "|Xi - Media|·ni", "ln(Xi)·ni", "rowid"};
    auto db = openDb();
    for (const auto& name : names)
        db->addDoubleField("DIS", name);
    RecordSet rs(db, "SELECT * FROM DIS");
    double value = 1;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        rs.Edit();
        for (const auto& name : names)
            rs.SetField(name, num(value++));
        rs.Update();
    }
    for (std::size_t k = 0; k < names.size(); ++k) {
        RecordSet sorted(db, "SELECT * FROM DIS ORDER BY [" + names[k] + "]");
        EXPECT_EQ(sorted.column(names[k]).size(), 5u) << names[k];
        sorted.MoveLast();
        sorted.Move(0);
        EXPECT_EQ(sorted.Field(names[k]), num(33.0 + k)) << names[k];
    }
    rs.MoveFirst();
    rs.Delete();
    rs.Refresh();
    EXPECT_EQ(rs.RecordCount(), 4);
}

} // namespace
} // namespace kalnor::testing
