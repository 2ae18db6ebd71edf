#include "panel/FormatoResultado.h"

#include <gtest/gtest.h>

namespace kalnor {
namespace {

const QLocale kIngles(QLocale::English, QLocale::UnitedStates);
const QLocale kEspanol(QLocale::Spanish, QLocale::Spain);

TEST(FormatoResultado, OneToThreeDecimals) {
    EXPECT_EQ(formatoResultado(2.0, kIngles), "2.0");
    EXPECT_EQ(formatoResultado(2.0 / 3.0, kIngles), "0.667");
    EXPECT_EQ(formatoResultado(1234.5, kIngles), "1234.5");
    EXPECT_EQ(formatoResultado(0.12, kIngles), "0.12");
    EXPECT_EQ(formatoResultado(-3.14159, kIngles), "-3.142");
    EXPECT_EQ(formatoResultado(0.99951, kIngles), "1.0");
}

TEST(FormatoResultado, NoThousandsSeparator) {
    EXPECT_EQ(formatoResultado(1234567.25, kIngles), "1234567.25");
    EXPECT_EQ(formatoResultado(1234567.25, kEspanol), "1234567,25");
}

TEST(FormatoResultado, DecimalSeparatorOfTheLocale) {
    EXPECT_EQ(formatoResultado(2.0, kEspanol), "2,0");
    EXPECT_EQ(formatoResultado(2.0 / 3.0, kEspanol), "0,667");
    EXPECT_EQ(formatoResultado(1234.5, kEspanol), "1234,5");
}

TEST(FormatoResultado, TinyValuesShowAsZeroWithoutSign) {
    EXPECT_EQ(formatoResultado(-1e-17, kIngles), "0.0");
    EXPECT_EQ(formatoResultado(-0.0, kEspanol), "0,0");
}

TEST(FormatoResultado, TextsAreShownAsTheyAre) {
    EXPECT_EQ(formatoResultado(stats::CellValue::text("Multimodal"), kEspanol), "Multimodal");
    EXPECT_EQ(formatoResultado(stats::CellValue::text("azul"), kIngles), "azul");
    EXPECT_EQ(formatoResultado(stats::CellValue::number(2.5), kEspanol), "2,5");
    EXPECT_EQ(formatoResultado(stats::CellValue(), kIngles), "");
}

} // namespace
} // namespace kalnor
