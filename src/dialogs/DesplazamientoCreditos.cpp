#include "DesplazamientoCreditos.h"

namespace kalnor {

void DesplazamientoCreditos::Timer1_Timer() {
    top_ -= kPaso;
    if (intervalo_ == kPausa) {
        intervalo_ = 0;
        top_ = 0;
    }
    if (top_ == kFinal)
        intervalo_ = kPausa;
}

void DesplazamientoCreditos::Command1_Click() {
    if (intervalo_ != 0) {
        intervalo_ = 0;
        top_ = 0;
    } else {
        intervalo_ = kRapido;
    }
}

} // namespace kalnor
