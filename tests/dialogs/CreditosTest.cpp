// The credits scroll of the about window and the clicks on the attribution
// panel, on their plain state.

#include "dialogs/ContadorClics.h"
#include "dialogs/DesplazamientoCreditos.h"

#include <gtest/gtest.h>

using namespace kalnor;

namespace {

using D = DesplazamientoCreditos;

void tics(D& d, int n) {
    for (int i = 0; i < n; ++i)
        d.Timer1_Timer();
}

} // namespace

TEST(Creditos, RunEveryNinetyMillisecondsFromTheTopWhenTheWindowOpens) {
    const D d;
    EXPECT_EQ(d.top(), 0);
    EXPECT_EQ(d.intervalo(), 90);
}

TEST(Creditos, ScrollToTheEndPauseFourSecondsThenJumpBackAndStop) {
    D d;
    d.Timer1_Timer();
    EXPECT_EQ(d.top(), -20);
    tics(d, 748);
    EXPECT_EQ(d.top(), -14980);
    EXPECT_EQ(d.intervalo(), 90);
    d.Timer1_Timer(); // 750 ticks of 20 twips
    EXPECT_EQ(d.top(), -15000);
    EXPECT_EQ(d.intervalo(), 4000);
    EXPECT_EQ(d.topEnPixeles(), -1000);
    d.Timer1_Timer(); // the tick that ends the pause
    EXPECT_EQ(d.top(), 0);
    EXPECT_EQ(d.intervalo(), 0);
}

TEST(Creditos, TwoClicksOnCreditosStopAndRestartFromTheTop) {
    D d;
    tics(d, 100);
    d.Command1_Click();
    EXPECT_EQ(d.top(), 0);
    EXPECT_EQ(d.intervalo(), 0);
    d.Command1_Click();
    EXPECT_EQ(d.top(), 0);
    EXPECT_EQ(d.intervalo(), 1); // as fast as the timer goes
    d.Timer1_Timer();
    EXPECT_EQ(d.top(), -20);
}

TEST(Creditos, CreditosDuringThePauseRewinds) {
    D d;
    tics(d, 750);
    ASSERT_EQ(d.intervalo(), 4000);
    d.Command1_Click();
    EXPECT_EQ(d.top(), 0);
    EXPECT_EQ(d.intervalo(), 0);
}

TEST(Creditos, AFastRunAlsoEndsWithThePause) {
    D d;
    d.Command1_Click();
    d.Command1_Click();
    tics(d, 750);
    EXPECT_EQ(d.top(), -15000);
    EXPECT_EQ(d.intervalo(), 4000);
}

TEST(ClicsPanel, EveryThirdClickOpensThePicture) {
    ContadorClics c;
    std::vector<bool> abre;
    for (int i = 0; i < 7; ++i)
        abre.push_back(c.contar());
    EXPECT_EQ(abre, (std::vector<bool>{false, false, true, false, false, true, false}));
    EXPECT_EQ(c.cuenta(), 1);
}
