#pragma once

namespace kalnor {

// The credits picture of the about window, scrolling upward on a timer.
// Plain state: the picture's top and the timer's interval, both as the
// window applies them (twips, ms; interval 0 = timer stopped).
class DesplazamientoCreditos {
public:
    static constexpr int kPaso = 20;      // twips per tick
    static constexpr int kFinal = -15000; // top where the scroll stops
    static constexpr int kIntervalo = 90; // ms, from the moment the window opens
    static constexpr int kPausa = 4000;   // ms shown at the end
    static constexpr int kRapido = 1;     // ms: as fast as the timer allows
    static constexpr int kTwipsPorPixel = 15;

    int top() const { return top_; }
    int intervalo() const { return intervalo_; }
    int topEnPixeles() const { return top_ / kTwipsPorPixel; }

    // One tick: up by a step; the tick after the pause puts the picture back
    // at the top and stops; reaching the end starts the pause.
    void Timer1_Timer();
    // "Créditos": stops and rewinds a running scroll, restarts a stopped one fast.
    void Command1_Click();

private:
    int top_ = 0;
    int intervalo_ = kIntervalo;
};

} // namespace kalnor
