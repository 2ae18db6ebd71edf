#pragma once

namespace kalnor {

// The normal font of the notes, what "Letra normal" restores.
inline constexpr const char* kLetraNotas = "Courier New";
inline constexpr int kPuntosNotas = 9;

// Size given to the selection for a size chosen in the font dialog: the
// multiples of six up to 54, and 3, come out one point smaller (users' notes
// rely on that look); every other size is used as chosen.
int tamanoAplicado(int elegido);

} // namespace kalnor
